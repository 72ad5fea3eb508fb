# Our component layer over Qt Widgets, and its tests. Included from the root
# CMakeLists.txt; paths are taken relative to this file.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
# On X11 the windows learn their frames from the window manager, and the ledger's windows
# are raised through it, by xcb.
find_package(PkgConfig REQUIRED)
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb)

add_library(tarvek_vcl STATIC
  ${CMAKE_CURRENT_LIST_DIR}/vcl.h
  ${CMAKE_CURRENT_LIST_DIR}/vcl_private.h
  ${CMAKE_CURRENT_LIST_DIR}/vcl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/vcl_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/vcl_controls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/vcl_containers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/x11_windows.cpp)
target_link_libraries(tarvek_vcl PUBLIC tarvek_platform_core tarvek_canvas Qt6::Widgets PRIVATE tarvek_jpeg PkgConfig::XCB)
set_target_properties(tarvek_vcl PROPERTIES AUTOMOC ON)

if(TARVEK_BUILD_TESTS)
  include(${CMAKE_CURRENT_LIST_DIR}/../cmake/TarvekTesting.cmake)
  tarvek_gui_test(tarvek_vcl_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_vcl.cpp LIBS tarvek_vcl)
endif()
