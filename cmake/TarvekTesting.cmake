# One way to add a test program that needs a Qt GUI: its own main() creates the
# application, and every test runs on the offscreen platform.
include_guard(GLOBAL)
find_package(GTest REQUIRED)
include(GoogleTest)

function(tarvek_gui_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endfunction()
