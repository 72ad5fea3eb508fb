# Our component layer over Qt Widgets, and its tests. Included from the root
# CMakeLists.txt; paths are taken relative to this file.
find_package(Qt6 REQUIRED COMPONENTS Widgets)

add_library(tarvek_vcl STATIC
  ${CMAKE_CURRENT_LIST_DIR}/vcl.h
  ${CMAKE_CURRENT_LIST_DIR}/vcl_private.h
  ${CMAKE_CURRENT_LIST_DIR}/vcl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/vcl_controls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/vcl_containers.cpp)
target_link_libraries(tarvek_vcl PUBLIC tarvek_platform_core Qt6::Widgets)
set_target_properties(tarvek_vcl PROPERTIES AUTOMOC ON)

if(TARVEK_BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  add_executable(tarvek_vcl_tests ${CMAKE_CURRENT_LIST_DIR}/../tests/test_vcl.cpp)
  # Not gtest_main: the tests need a QApplication, created in the test's own main().
  target_link_libraries(tarvek_vcl_tests PRIVATE tarvek_vcl GTest::gtest)
  gtest_discover_tests(tarvek_vcl_tests DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()
