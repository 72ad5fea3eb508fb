# Painting of the map onto the canvas, and its pixel tests. Included from the root
# CMakeLists.txt; paths are taken relative to this file.
add_library(tarvek_view STATIC
  ${CMAKE_CURRENT_LIST_DIR}/painter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/figure_render.cpp)
target_link_libraries(tarvek_view PUBLIC tarvek_document tarvek_canvas)

if(TARVEK_BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  add_executable(tarvek_painter_tests ${CMAKE_CURRENT_LIST_DIR}/../tests/test_painter.cpp)
  # Not gtest_main: text needs a QGuiApplication, created in the test's own main().
  target_link_libraries(tarvek_painter_tests PRIVATE tarvek_view GTest::gtest)
  gtest_discover_tests(tarvek_painter_tests DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()
