# Script run by ctest (through the include file of fathomer_add_doctest): lists
# a doctest executable's cases and writes the ctest tests that run them.
# Cases run together per source file, one process each: starting a process is
# most of a small case's time, under Wine above all.  A doctest test suite names
# the shared resource its cases need (see cmake/doctest_tests.cmake): a file's
# cases in that suite are a process of their own, whose RESOURCE_LOCK and label
# the suite becomes (so "ctest -L desktop" runs just those).  The suite "soak"
# instead makes each of its cases a test of its own with the longer
# TEST_SOAK_TIMEOUT, and "alone" only keeps a case apart (so that a skip shows
# as that case's).  In the shared processes the test runner's watchdog
# (tests/main.cpp, POSIX only) ends a case that runs past TEST_TIMEOUT and names
# it; elsewhere ctest's time-out for the process stops it, and the last "case:"
# line it printed names the case.
# In: TEST_EXECUTOR, TEST_LAUNCHER (put before the executor in the tests'
#     commands, not in the listing's), TEST_EXECUTABLE, TEST_WORKING_DIR,
#     TEST_PREFIX, TEST_TIMEOUT, TEST_SOAK_TIMEOUT, CTEST_FILE.
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
set(batches "")
set(command "")
foreach(arg IN LISTS TEST_LAUNCHER TEST_EXECUTOR)
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
  if(NOT suite MATCHES "^(soak|alone)$")
    string(REGEX MATCH " filename=\"([^\"]*)\"" _ "${case}")
    xml_unescape(file "${CMAKE_MATCH_1}")
    string(FIND "${file}" "/tests/" at REVERSE)
    math(EXPR at "${at} + 1")
    string(SUBSTRING "${file}" ${at} -1 file)
    # "|" joins a file and its suite, since neither holds one.
    list(APPEND batches "${file}|${suite}")
    continue()
  endif()
  # doctest splits its filters at commas.
  string(REPLACE "," "\\," filter "${name}")
  bracket(filter "--test-case=${filter}")
  bracket(test "${TEST_PREFIX}${name}")
  string(APPEND script "add_test(${test}${command} ${exe} ${filter})\n")
  set(timeout ${TEST_TIMEOUT})
  if(suite STREQUAL "soak")
    set(timeout ${TEST_SOAK_TIMEOUT})
  endif()
  string(APPEND script "set_tests_properties(${test} PROPERTIES WORKING_DIRECTORY ${dir} TIMEOUT ${timeout}"
                       " SKIP_REGULAR_EXPRESSION [==[MESSAGE: skipped: ]==]${outcome})\n")
endforeach()

# A source file's cases of one suite (or of none): the slowest files take about
# 40 s on a loaded machine.
math(EXPR batch_timeout "${TEST_TIMEOUT} * 2")
list(REMOVE_DUPLICATES batches)
foreach(batch IN LISTS batches)
  string(FIND "${batch}" "|" bar)
  string(SUBSTRING "${batch}" 0 ${bar} file)
  math(EXPR bar "${bar} + 1")
  string(SUBSTRING "${batch}" ${bar} -1 suite)
  bracket(filters "--source-file=*${file}")
  if(suite STREQUAL "")
    bracket(test "${TEST_PREFIX}${file}")
    set(selection "${filters} --test-suite-exclude=?*")
    set(lock "")
  else()
    bracket(test "${TEST_PREFIX}${file} (${suite})")
    bracket(only "--test-suite=${suite}")
    set(selection "${filters} ${only}")
    bracket(suite "${suite}")
    set(lock " RESOURCE_LOCK ${suite} LABELS ${suite}")
  endif()
  string(APPEND script "add_test(${test}${command} ${exe} ${selection})\n"
                       "set_tests_properties(${test} PROPERTIES WORKING_DIRECTORY ${dir} TIMEOUT ${batch_timeout}"
                       " ENVIRONMENT FATHOMER_CASE_TIMEOUT=${TEST_TIMEOUT}${lock}${outcome})\n")
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${TEST_EXECUTABLE} listed no test cases:\n${listing}")
endif()
file(WRITE "${CTEST_FILE}" "${script}")
