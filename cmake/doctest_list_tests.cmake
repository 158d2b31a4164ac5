# Script run by ctest (through the include file of fathomer_add_doctest): lists
# a doctest executable's cases and writes the ctest tests that run them.
# A case in a doctest test suite is a ctest test of its own: the suite names the
# shared resource it needs (see cmake/doctest_tests.cmake) and becomes its
# RESOURCE_LOCK and its label (so "ctest -L desktop" runs just those); the
# suite "soak" instead gives the case the longer TEST_SOAK_TIMEOUT, and "alone"
# only keeps it apart.  The other cases, which share nothing, run together per
# source file, one process each: starting a process is most of a small case's
# time, under Wine above all.  For those the test runner's watchdog
# (tests/main.cpp, POSIX only) ends a case that runs past TEST_TIMEOUT and names
# it; elsewhere ctest's time-out for the process stops it, and the last "case:"
# line it printed names the case.
# In: TEST_EXECUTOR, TEST_EXECUTABLE, TEST_WORKING_DIR, TEST_PREFIX,
#     TEST_TIMEOUT, TEST_SOAK_TIMEOUT, CTEST_FILE.
execute_process(
  COMMAND ${TEST_EXECUTOR} "${TEST_EXECUTABLE}" --list-test-cases --reporters=xml
  OUTPUT_VARIABLE listing
  RESULT_VARIABLE result
  WORKING_DIRECTORY "${TEST_WORKING_DIR}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Listing the cases of ${TEST_EXECUTABLE} failed (${result}):\n${listing}")
endif()

# Semicolons and square brackets would split or join CMake list items: they are
# hidden while the listing is cut into cases and restored in each name.
function(xml_unescape var text)
  string(REPLACE "<semicolon>" ";" text "${text}")
  string(REPLACE "<open-bracket>" "[" text "${text}")
  string(REPLACE "<close-bracket>" "]" text "${text}")
  string(REPLACE "&lt;" "<" text "${text}")
  string(REPLACE "&gt;" ">" text "${text}")
  string(REPLACE "&quot;" "\"" text "${text}")
  string(REPLACE "&apos;" "'" text "${text}")
  string(REPLACE "&amp;" "&" text "${text}")
  set(${var} "${text}" PARENT_SCOPE)
endfunction()

# Bracket arguments keep names with quotes, semicolons or brackets intact.
function(bracket var text)
  set(${var} "[==[${text}]==]" PARENT_SCOPE)
endfunction()

string(REPLACE ";" "<semicolon>" listing "${listing}")
string(REPLACE "[" "<open-bracket>" listing "${listing}")
string(REPLACE "]" "<close-bracket>" listing "${listing}")
set(script "")
set(count 0)
set(batch_files "")
set(command "")
foreach(arg IN LISTS TEST_EXECUTOR)
  bracket(arg "${arg}")
  string(APPEND command " ${arg}")
endforeach()
bracket(exe "${TEST_EXECUTABLE}")
bracket(dir "${TEST_WORKING_DIR}")
# A filter that matches no case would pass without running anything.
set(outcome " FAIL_REGULAR_EXPRESSION [==[test cases: +0 [|]]==]")

string(REGEX MATCHALL "<TestCase [^\n]*/>" cases "${listing}")
foreach(case IN LISTS cases)
  string(REGEX MATCH " name=\"([^\"]*)\"" _ "${case}")
  xml_unescape(name "${CMAKE_MATCH_1}")
  set(suite "")
  if(case MATCHES " testsuite=\"([^\"]*)\"")
    xml_unescape(suite "${CMAKE_MATCH_1}")
  endif()
  math(EXPR count "${count} + 1")
  if(suite STREQUAL "")
    string(REGEX MATCH " filename=\"([^\"]*)\"" _ "${case}")
    xml_unescape(file "${CMAKE_MATCH_1}")
    string(FIND "${file}" "/tests/" at REVERSE)
    math(EXPR at "${at} + 1")
    string(SUBSTRING "${file}" ${at} -1 file)
    list(APPEND batch_files "${file}")
    continue()
  endif()
  # doctest splits its filters at commas.
  string(REPLACE "," "\\," filter "${name}")
  bracket(filter "--test-case=${filter}")
  bracket(test "${TEST_PREFIX}${name}")
  string(APPEND script "add_test(${test}${command} ${exe} ${filter})\n")
  set(timeout ${TEST_TIMEOUT})
  set(lock "")
  if(suite STREQUAL "soak")
    set(timeout ${TEST_SOAK_TIMEOUT})
  elseif(NOT suite STREQUAL "alone")
    bracket(suite "${suite}")
    set(lock " RESOURCE_LOCK ${suite} LABELS ${suite}")
  endif()
  string(APPEND script "set_tests_properties(${test} PROPERTIES WORKING_DIRECTORY ${dir} TIMEOUT ${timeout}${lock}"
                       " SKIP_REGULAR_EXPRESSION [==[MESSAGE: skipped: ]==]${outcome})\n")
endforeach()

# A source file's cases without a suite: the slowest take about 40 s on a
# loaded machine.
math(EXPR batch_timeout "${TEST_TIMEOUT} * 2")
list(REMOVE_DUPLICATES batch_files)
foreach(file IN LISTS batch_files)
  bracket(test "${TEST_PREFIX}${file}")
  bracket(filters "--source-file=*${file}")
  string(APPEND script "add_test(${test}${command} ${exe} ${filters} --test-suite-exclude=?*)\n"
                       "set_tests_properties(${test} PROPERTIES WORKING_DIRECTORY ${dir} TIMEOUT ${batch_timeout}"
                       " ENVIRONMENT FATHOMER_CASE_TIMEOUT=${TEST_TIMEOUT}${outcome})\n")
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${TEST_EXECUTABLE} listed no test cases:\n${listing}")
endif()
file(WRITE "${CTEST_FILE}" "${script}")
