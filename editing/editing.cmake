# The drawing and editing tools. Included from the root CMakeLists.txt; paths are taken
# relative to this file.
add_library(tarvek_editing STATIC
  ${CMAKE_CURRENT_LIST_DIR}/placeholder.cpp)
target_link_libraries(tarvek_editing PUBLIC tarvek_document tarvek_canvas)
