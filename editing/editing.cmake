# The drawing and editing tools. Included from the root CMakeLists.txt; paths are taken
# relative to this file.
add_library(tarvek_editing STATIC
  ${CMAKE_CURRENT_LIST_DIR}/drawing_tools.cpp
  ${CMAKE_CURRENT_LIST_DIR}/figure_creation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/attributes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/join_curves.cpp
  ${CMAKE_CURRENT_LIST_DIR}/drawing_range.cpp
  ${CMAKE_CURRENT_LIST_DIR}/picking.cpp
  ${CMAKE_CURRENT_LIST_DIR}/handles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/move_transform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/figure_copies.cpp
  ${CMAKE_CURRENT_LIST_DIR}/snap_tracking.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plot_blocks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_entry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clipboard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rotation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/arrange.cpp
  ${CMAKE_CURRENT_LIST_DIR}/undo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/undo_figures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/undo_plots.cpp)
target_link_libraries(tarvek_editing PUBLIC tarvek_document tarvek_canvas tarvek_view)

if(TARVEK_BUILD_TESTS)
  include(${CMAKE_CURRENT_LIST_DIR}/../cmake/TarvekTesting.cmake)
  tarvek_gui_test(tarvek_drawing_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_drawing_tools.cpp
    LIBS tarvek_editing)
  tarvek_gui_test(tarvek_attribute_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_attributes.cpp
            ${CMAKE_CURRENT_LIST_DIR}/../tests/test_join_curves.cpp
            ${CMAKE_CURRENT_LIST_DIR}/../tests/test_drawing_range.cpp
    LIBS tarvek_editing)
  # Selection, handles, moves and copies on a map the real painter paints.
  tarvek_gui_test(tarvek_selection_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_picking.cpp
    LIBS tarvek_editing)
  tarvek_gui_test(tarvek_handle_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_handles.cpp
    LIBS tarvek_editing)
  tarvek_gui_test(tarvek_move_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_move_transform.cpp
    LIBS tarvek_editing)
  foreach(t tarvek_selection_tests tarvek_handle_tests tarvek_move_tests)
    target_compile_definitions(${t} PRIVATE TARVEK_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/../tests/data")
  endforeach()
  # Clipboard, delete, rotation, snap guides, align, order and groups.
  tarvek_gui_test(tarvek_clipboard_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_clipboard.cpp
    LIBS tarvek_editing)
  tarvek_gui_test(tarvek_rotation_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_rotation.cpp
    LIBS tarvek_editing)
  tarvek_gui_test(tarvek_align_order_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_arrange.cpp
    LIBS tarvek_editing)
  foreach(t tarvek_clipboard_tests tarvek_rotation_tests tarvek_align_order_tests)
    target_compile_definitions(${t} PRIVATE TARVEK_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/../tests/data")
  endforeach()
  # Undo: every label's step taken back after its operation, chains, hints, failures.
  tarvek_gui_test(tarvek_undo_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_undo.cpp
            ${CMAKE_CURRENT_LIST_DIR}/../tests/test_undo_chains.cpp
    LIBS tarvek_editing)
  target_compile_definitions(tarvek_undo_tests PRIVATE TARVEK_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/../tests/data")
  tarvek_gui_test(tarvek_blocks_text_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_blocks_text.cpp
    LIBS tarvek_editing)
  target_compile_definitions(tarvek_blocks_text_tests PRIVATE
    TARVEK_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/../tests/data")
  # The tools on the live form; tarvek_forms is defined after this file is included.
  tarvek_gui_test(tarvek_form_drawing_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_form_drawing.cpp
    LIBS tarvek_forms)
  tarvek_gui_test(tarvek_form_attribute_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_form_attributes.cpp
    LIBS tarvek_forms)
  tarvek_gui_test(tarvek_form_selection_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_form_selection.cpp
    LIBS tarvek_forms)
  tarvek_gui_test(tarvek_form_blocks_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_form_blocks.cpp
    LIBS tarvek_forms JPEG::JPEG)
  tarvek_gui_test(tarvek_form_arrange_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_form_arrange.cpp
    LIBS tarvek_forms)
  tarvek_gui_test(tarvek_form_undo_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/../tests/test_form_undo.cpp
    LIBS tarvek_forms)
  foreach(t tarvek_form_drawing_tests tarvek_form_attribute_tests tarvek_form_selection_tests
            tarvek_form_blocks_tests tarvek_form_arrange_tests tarvek_form_undo_tests)
    target_compile_definitions(${t} PRIVATE
      TARVEK_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/../tests/data"
      TARVEK_SAMPLES="${CMAKE_CURRENT_LIST_DIR}/../samples")
  endforeach()
endif()
