# GoogleTest from the sources Debian ships, built in-tree for each build tree.
set(QUOR_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${QUOR_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
if(NOT WIN32 AND QUOR_SANITIZE)
  # gtest itself is built with the same sanitizer flags; nothing else to do.
endif()

# quor_add_gtest(NAME n SOURCES a.cpp ... [LIBS l ...] [TIMEOUT s])
# One test executable, registered with CTest as one test. In the Windows tree
# CTest runs it through Wine (CMAKE_CROSSCOMPILING_EMULATOR).
function(quor_add_gtest)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_brief=1)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
endfunction()
