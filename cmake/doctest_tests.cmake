# Registers a doctest executable's test cases with ctest: a test per source
# file and shared resource its cases need (or none).
# The list is read when ctest starts rather than after the build, so that
# building the Windows tree never needs Wine; only running its tests does.
#
# Cases that use something the whole session shares put themselves in a doctest
# test suite named for it; a source file's cases of that suite run in one
# process, and ctest runs no two such processes of one suite at once:
#   "desktop"     visible windows, focus, keyboard and mouse, the clipboard
#   "sound card"  the sound server's output, which a capture test listens to
# Every other case runs in parallel with the rest, in one process with the
# other such cases of its source file.  A case that runs long on purpose (a
# simulated hour) puts itself in the suite "soak" and gets the longer timeout
# instead; one that must be a ctest test of its own puts itself in "alone".
set(FATHOMER_TEST_TIMEOUT 60 CACHE STRING "Seconds a single test case may take")
set(FATHOMER_SOAK_TIMEOUT 300 CACHE STRING "Seconds a test case of the suite soak may take")

function(fathomer_add_doctest TARGET)
  set(ctest_file "${CMAKE_CURRENT_BINARY_DIR}/${TARGET}_tests.cmake")
  set(include_file "${CMAKE_CURRENT_BINARY_DIR}/${TARGET}_include.cmake")
  get_property(emulator TARGET ${TARGET} PROPERTY CROSSCOMPILING_EMULATOR)
  # Under Wine the tests' output goes through a file (see the script).
  set(launcher "")
  if(emulator)
    set(launcher "${PROJECT_SOURCE_DIR}/tools/detached_output.sh")
  endif()
  file(GENERATE OUTPUT "${include_file}" CONTENT
"set(exe \"$<TARGET_FILE:${TARGET}>\")
if(NOT EXISTS \"${ctest_file}\" OR \"\${exe}\" IS_NEWER_THAN \"${ctest_file}\"
   OR \"${CMAKE_CURRENT_FUNCTION_LIST_DIR}/doctest_list_tests.cmake\" IS_NEWER_THAN \"${ctest_file}\")
  set(TEST_EXECUTABLE \"\${exe}\")
  set(TEST_EXECUTOR \"${emulator}\")
  set(TEST_LAUNCHER \"${launcher}\")
  set(TEST_WORKING_DIR \"$<TARGET_FILE_DIR:${TARGET}>\")
  set(TEST_PREFIX \"${TARGET}: \")
  set(TEST_TIMEOUT ${FATHOMER_TEST_TIMEOUT})
  set(TEST_SOAK_TIMEOUT ${FATHOMER_SOAK_TIMEOUT})
  set(CTEST_FILE \"${ctest_file}\")
  include(\"${CMAKE_CURRENT_FUNCTION_LIST_DIR}/doctest_list_tests.cmake\")
endif()
include(\"${ctest_file}\")
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${include_file}")
endfunction()
