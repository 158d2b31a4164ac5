# Registers a doctest executable's test cases with ctest.  The list is read when
# ctest starts rather than after the build, so that building the Windows tree
# never needs Wine; only running its tests does.
include(/usr/lib/cmake/doctest/doctest.cmake)

function(fathomer_add_doctest TARGET)
  set(ctest_file "${CMAKE_CURRENT_BINARY_DIR}/${TARGET}_tests.cmake")
  set(include_file "${CMAKE_CURRENT_BINARY_DIR}/${TARGET}_include.cmake")
  get_property(emulator TARGET ${TARGET} PROPERTY CROSSCOMPILING_EMULATOR)
  file(GENERATE OUTPUT "${include_file}" CONTENT
"set(exe \"$<TARGET_FILE:${TARGET}>\")
if(NOT EXISTS \"${ctest_file}\" OR \"\${exe}\" IS_NEWER_THAN \"${ctest_file}\")
  set(TEST_TARGET ${TARGET})
  set(TEST_EXECUTABLE \"\${exe}\")
  set(TEST_EXECUTOR \"${emulator}\")
  set(TEST_WORKING_DIR \"$<TARGET_FILE_DIR:${TARGET}>\")
  set(TEST_PREFIX \"${TARGET}: \")
  set(TEST_PROPERTIES TIMEOUT;600)
  set(CTEST_FILE \"${ctest_file}\")
  set(TEST_LIST ${TARGET}_TESTS)
  include(\"${_DOCTEST_DISCOVER_TESTS_SCRIPT}\")
endif()
include(\"${ctest_file}\")
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${include_file}")
endfunction()
