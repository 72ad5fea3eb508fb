# Painting of the map onto the canvas, and its pixel tests. Included from the root
# CMakeLists.txt; paths are taken relative to this file.
add_library(tarvek_view STATIC
  ${CMAKE_CURRENT_LIST_DIR}/painter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/figure_render.cpp
  ${CMAKE_CURRENT_LIST_DIR}/printing.cpp)
target_link_libraries(tarvek_view PUBLIC tarvek_document tarvek_canvas tarvek_printer)

if(TARVEK_BUILD_TESTS)
  include(${CMAKE_CURRENT_LIST_DIR}/../cmake/TarvekTesting.cmake)
  tarvek_gui_test(tarvek_painter_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_painter.cpp LIBS tarvek_view)
endif()
