# One probe of kestrix_probe_personality: cmake -DRUN_DIR=... -DKESTRIX_RUN=...
# -DARGS_FILE=... -P probe.cmake, where ARGS_FILE appends the Kestrix arguments to args.
# Empties RUN_DIR and runs kestrix-run in it; the engine's standard output ends up in
# RUN_DIR/run.log.
set(args "")
include("${ARGS_FILE}")

file(REMOVE_RECURSE "${RUN_DIR}")
# The third argument is the compiler command; its first word must be installed.
list(GET args 2 compiler)
string(REGEX REPLACE " .*" "" program "${compiler}")
find_program(compiler_path "${program}" NO_CACHE)
if(NOT compiler_path)
  file(WRITE "${RUN_DIR}/missing.txt" "${program} is not installed.\n")
  message(STATUS "${program} is not installed: no personality is probed.")
  return()
endif()

# kestrix-run wants a run directory that is empty or absent, so the log waits beside it.
get_filename_component(parent "${RUN_DIR}" DIRECTORY)
file(MAKE_DIRECTORY "${parent}")
execute_process(COMMAND "${KESTRIX_RUN}" --run-dir "${RUN_DIR}" ${args}
                OUTPUT_FILE "${RUN_DIR}.log" ERROR_VARIABLE errors RESULT_VARIABLE status)
if(EXISTS "${RUN_DIR}")
  file(RENAME "${RUN_DIR}.log" "${RUN_DIR}/run.log")
  # The arguments one per line, for the tests that check the run against the compiler.
  list(JOIN args "\n" lines)
  file(WRITE "${RUN_DIR}/args.txt" "${lines}\n")
endif()
if(NOT status EQUAL 0 OR NOT EXISTS "${RUN_DIR}/personality.p_c")
  message(FATAL_ERROR "kestrix-run failed (status ${status}) for ${compiler}: ${errors}")
endif()
