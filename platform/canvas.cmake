# The canvas the map is painted on (QImage backed), and its tests. Included from the root
# CMakeLists.txt; paths are taken relative to this file.
find_package(Qt6 REQUIRED COMPONENTS Gui)

add_library(tarvek_canvas STATIC ${CMAKE_CURRENT_LIST_DIR}/canvas.cpp)
target_link_libraries(tarvek_canvas PUBLIC tarvek_platform_core Qt6::Gui)

if(TARVEK_BUILD_TESTS)
  include(${CMAKE_CURRENT_LIST_DIR}/../cmake/TarvekTesting.cmake)
  tarvek_gui_test(tarvek_canvas_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_canvas.cpp LIBS tarvek_canvas)
endif()
