# The canvas the map is painted on (QImage backed), and its tests. Included from the root
# CMakeLists.txt; paths are taken relative to this file.
find_package(Qt6 REQUIRED COMPONENTS Gui)

add_library(tarvek_canvas STATIC ${CMAKE_CURRENT_LIST_DIR}/canvas.cpp)
target_link_libraries(tarvek_canvas PUBLIC tarvek_platform_core Qt6::Gui)

if(TARVEK_BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  add_executable(tarvek_canvas_tests ${CMAKE_CURRENT_LIST_DIR}/../tests/test_canvas.cpp)
  # Not gtest_main: text needs a QGuiApplication, created in the test's own main().
  target_link_libraries(tarvek_canvas_tests PRIVATE tarvek_canvas GTest::gtest)
  gtest_discover_tests(tarvek_canvas_tests DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()
