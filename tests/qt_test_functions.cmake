# Read by CTest when it runs (a test include file): one test per test
# function of a Qt Test binary, as the binary itself lists them, so that a
# new function cannot be left out. The including file sets QT_TEST_EXE (the
# binary), QT_TEST_PREFIX (the tests' name prefix), QT_TEST_CMAKE (cmake) and
# QT_TEST_ENVIRONMENT (NAME=VALUE for the tests, or empty).
# The listing needs no display (Qt's offscreen platform); the tests do, and
# skip with 77 without one. They hold the display's lock: every test window
# opens at the same place on the one display, and a window shown over
# another takes the pointer from it (a leave event) mid-test.
execute_process(
  COMMAND "${QT_TEST_CMAKE}" -E env QT_QPA_PLATFORM=offscreen "${QT_TEST_EXE}" -functions
  OUTPUT_VARIABLE listed ERROR_VARIABLE errors RESULT_VARIABLE status)
string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*\\(\\)" functions "${listed}")
if(NOT status EQUAL 0 OR NOT functions)
  # A test that fails and says why, rather than no tests at all.
  add_test("${QT_TEST_PREFIX}.listFunctions" "${QT_TEST_CMAKE}" -E echo_append
           "cannot list the test functions of ${QT_TEST_EXE}: ${status} ${errors}")
  set_tests_properties("${QT_TEST_PREFIX}.listFunctions" PROPERTIES WILL_FAIL TRUE)
  return()
endif()
foreach(function IN LISTS functions)
  string(REPLACE "()" "" name "${function}")
  add_test("${QT_TEST_PREFIX}.${name}" "${QT_TEST_EXE}" "${name}")
  set_tests_properties("${QT_TEST_PREFIX}.${name}" PROPERTIES
    SKIP_RETURN_CODE 77 SKIP_REGULAR_EXPRESSION "SKIP   : " TIMEOUT 120
    RESOURCE_LOCK display)
  if(QT_TEST_ENVIRONMENT)
    set_tests_properties("${QT_TEST_PREFIX}.${name}" PROPERTIES
      ENVIRONMENT "${QT_TEST_ENVIRONMENT}")
  endif()
endforeach()
