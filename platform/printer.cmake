# The printer and the destinations of print jobs (Qt Print Support). Included from the root
# CMakeLists.txt; paths are taken relative to this file.
find_package(Qt6 REQUIRED COMPONENTS PrintSupport)

add_library(tarvek_printer STATIC ${CMAKE_CURRENT_LIST_DIR}/printer.cpp)
target_link_libraries(tarvek_printer PUBLIC tarvek_canvas Qt6::PrintSupport)
