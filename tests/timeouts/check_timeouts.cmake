# Fails naming each test that has no TIMEOUT: a test that hangs (a modal window nobody closes, a
# wait that never ends) must fail on its own instead of holding up the whole run.
#
#   cmake -DCTEST=ctest -DBUILD=build-folder -P check_timeouts.cmake   the tests of a build
#   cmake -DLISTING=tests.json -P check_timeouts.cmake                 a `ctest --show-only=json-v1`
if(LISTING)
  file(READ "${LISTING}" listing)
else()
  execute_process(COMMAND "${CTEST}" --show-only=json-v1 WORKING_DIRECTORY "${BUILD}"
                  OUTPUT_VARIABLE listing RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${CTEST} --show-only=json-v1 in ${BUILD}: ${status}")
  endif()
endif()
string(JSON tests GET "${listing}" tests)
string(JSON count LENGTH "${tests}")
if(count EQUAL 0)
  message(FATAL_ERROR "no tests listed")
endif()
set(untimed "")
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
  string(JSON test GET "${tests}" ${i})
  string(JSON name GET "${test}" name)
  string(JSON properties ERROR_VARIABLE none GET "${test}" properties)
  if(NOT properties MATCHES "\"name\" *: *\"TIMEOUT\"")
    list(APPEND untimed "${name}")
  endif()
endforeach()
if(untimed)
  list(JOIN untimed ", " names)
  message(FATAL_ERROR "tests without a TIMEOUT: ${names}")
endif()
message(STATUS "all ${count} tests have a TIMEOUT")
