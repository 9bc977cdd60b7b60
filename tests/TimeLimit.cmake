# Read by ctest before any test of the suites below is defined: every test gets a time limit of
# a few seconds, so that a fault which makes one hang fails it by name instead of holding the
# run for ctest's default of 25 minutes. A suite that needs longer sets TIMEOUT itself, which
# comes after this and wins. Tests from gtest_discover_tests are defined while ctest runs, so
# the limit is set where ctest defines each test.
function(add_test name)
  _add_test(${ARGV})
  set_tests_properties(${name} PROPERTIES TIMEOUT 10)
endfunction()
