# The tablet edition's own logic, built and tested without a window. Included from the
# root CMakeLists.txt; paths are taken relative to this file.
add_library(tarvek_tablet_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/tablet_edition.cpp
  ${CMAKE_CURRENT_LIST_DIR}/display_scale.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tablet_buttons.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tablet_pages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tablet_selection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tablet_window.cpp)
target_link_libraries(tarvek_tablet_core PUBLIC tarvek_document)
