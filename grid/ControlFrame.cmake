# The control protocol base and the row header: window-side pieces of the
# grid that the control class builds on. Included by grid/CMakeLists.txt.
add_library(quorgridframe STATIC
  ${CMAKE_CURRENT_LIST_DIR}/OleControl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QuorRowHeaderObj.cpp
)
target_include_directories(quorgridframe PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(quorgridframe PUBLIC quorcommon ole32 oleaut32 uuid user32 gdi32)

quor_add_gtest(NAME grid_frame_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/test_ole_control.cpp
          ${CMAKE_CURRENT_LIST_DIR}/tests/test_rowheader.cpp
  LIBS quorgridframe quorolehost)
