# The drawing and editing tools. Included from the root CMakeLists.txt; paths are taken
# relative to this file.
add_library(tarvek_editing STATIC
  ${CMAKE_CURRENT_LIST_DIR}/drawing_tools.cpp
  ${CMAKE_CURRENT_LIST_DIR}/figure_creation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/snap_tracking.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plot_blocks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_entry.cpp)
target_link_libraries(tarvek_editing PUBLIC tarvek_document tarvek_canvas tarvek_view)

if(TARVEK_BUILD_TESTS)
  include(${CMAKE_CURRENT_LIST_DIR}/../cmake/TarvekTesting.cmake)
  tarvek_gui_test(tarvek_drawing_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_drawing_tools.cpp
    LIBS tarvek_editing)
  tarvek_gui_test(tarvek_blocks_text_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_blocks_text.cpp
    LIBS tarvek_editing)
  target_compile_definitions(tarvek_blocks_text_tests PRIVATE
    TARVEK_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/../tests/data")
  # The tools on the live form; tarvek_forms is defined after this file is included.
  tarvek_gui_test(tarvek_form_drawing_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_form_drawing.cpp
    LIBS tarvek_forms)
  tarvek_gui_test(tarvek_form_blocks_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_form_blocks.cpp
    LIBS tarvek_forms)
  target_compile_definitions(tarvek_form_blocks_tests PRIVATE
    TARVEK_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/../tests/data"
    TARVEK_SAMPLES="${CMAKE_CURRENT_LIST_DIR}/../samples")
  target_compile_definitions(tarvek_form_drawing_tests PRIVATE
    TARVEK_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/../tests/data"
    TARVEK_SAMPLES="${CMAKE_CURRENT_LIST_DIR}/../samples")
endif()
