# The interaction pieces of the grid: the cell editor, the key table, the
# mouse, the clipboard, the CSV files and the cell menu commands. The
# control window routes its messages to GridInteraction. Included by
# grid/CMakeLists.txt.
add_library(quorgridinteraction STATIC
  ${CMAKE_CURRENT_LIST_DIR}/GridAccess.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ModelGrid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CsvLine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CsvFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GridClipboard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileDialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CellMenuCommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WaitCursor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QuorEditBoxObj.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CellEditor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GridKeys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GridInteraction.cpp
)
target_include_directories(quorgridinteraction PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(quorgridinteraction PUBLIC quorgridcore comdlg32 user32 gdi32)

quor_add_gtest(NAME grid_interaction_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/test_csv_lines.cpp
          ${CMAKE_CURRENT_LIST_DIR}/tests/test_csv_files.cpp
          ${CMAKE_CURRENT_LIST_DIR}/tests/test_clipboard.cpp
          ${CMAKE_CURRENT_LIST_DIR}/tests/test_editor.cpp
          ${CMAKE_CURRENT_LIST_DIR}/tests/test_editor_keys.cpp
  LIBS quorgridinteraction
  TIMEOUT 120)
# The clipboard is one per desktop: never beside another test that uses it.
set_tests_properties(grid_interaction_tests PROPERTIES RESOURCE_LOCK quor_clipboard)

# The same pieces wired into the control, driven through its window.
quor_add_gtest(NAME grid_interaction_window_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/GridDll.cpp
          ${CMAKE_CURRENT_LIST_DIR}/tests/test_grid_interaction.cpp
          ${CMAKE_CURRENT_LIST_DIR}/tests/test_grid_menu_files.cpp
          ${CMAKE_CURRENT_LIST_DIR}/tests/test_grid_keys.cpp
          ${QUORGRID_GEN}/QuorGrid_i.c
  LIBS quorolehost quorwindowdriver ole32 oleaut32 uuid
  TIMEOUT 120)
add_dependencies(grid_interaction_window_tests QuorGrid)
target_include_directories(grid_interaction_window_tests PRIVATE ${QUORGRID_GEN} ${CMAKE_CURRENT_LIST_DIR})
set_tests_properties(grid_interaction_window_tests PROPERTIES RESOURCE_LOCK quor_clipboard)
