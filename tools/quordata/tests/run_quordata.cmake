# Runs quordata once and checks its exit status and, when given, the exact
# bytes it wrote to standard output and standard error.
#   TOOL        the quordata executable
#   EMULATOR    runner for a cross-built TOOL (may be empty)
#   ARGS        the arguments, separated by "|"
#   WORKDIR     where the outputs are kept for inspection
#   NAME        base name of the outputs
#   EXPECT_RC   the exit status expected
#   EXPECT_OUT  file holding the expected standard output (optional)
#   EXPECT_ERR  file holding the expected standard error (optional)
#   MERGED_ERR  set when the emulator passes standard error on standard
#               output; tests that expect an error print nothing else
#   OUT_TO      where standard output goes instead (a device such as
#               /dev/full); it is then not compared
string(REPLACE "|" ";" args "${ARGS}")
set(out "${WORKDIR}/${NAME}.out")
if(OUT_TO)
  set(out "${OUT_TO}")
endif()
set(err "${WORKDIR}/${NAME}.err")
file(MAKE_DIRECTORY "${WORKDIR}")
execute_process(COMMAND ${EMULATOR} "${TOOL}" ${args}
                WORKING_DIRECTORY "${WORKDIR}"
                OUTPUT_FILE "${out}" ERROR_FILE "${err}"
                RESULT_VARIABLE rc)
if(NOT "${rc}" STREQUAL "${EXPECT_RC}")
  file(READ "${err}" errText)
  message(FATAL_ERROR "exit status ${rc}, expected ${EXPECT_RC}\n${errText}")
endif()
if(MERGED_ERR AND EXPECT_ERR)
  file(RENAME "${out}" "${err}")
  file(WRITE "${out}" "")
endif()
foreach(stream OUT ERR)
  if(EXPECT_${stream})
    string(TOLOWER "${stream}" suffix)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files
                            "${WORKDIR}/${NAME}.${suffix}" "${EXPECT_${stream}}"
                    RESULT_VARIABLE differs)
    if(differs)
      message(FATAL_ERROR "${WORKDIR}/${NAME}.${suffix} differs from ${EXPECT_${stream}}")
    endif()
  endif()
endforeach()
