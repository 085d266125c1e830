# How the suite names and declares its tests. Every test is "<area>.<what>":
# the area is the part of the program under test (core, window, keys, app,
# packaging, win32), the rest says what it checks.
#
#   ratalia_add_test(area.what COMMAND … [ENVIRONMENT …] [SERIAL])
#   ratalia_add_gtest(area TARGET)

function(ratalia_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "SERIAL" "" "COMMAND;ENVIRONMENT")
  add_test(NAME ${name} COMMAND ${arg_COMMAND})
  if(arg_ENVIRONMENT)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${arg_ENVIRONMENT}")
  endif()
  if(arg_SERIAL)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()

# A GoogleTest program: each case a test of its own, "area.Suite.case". Built
# for another system, it runs whole under the emulator as "area.suite". A
# program that needs an environment sets it itself (discovery would split
# a list of variables into properties of their own).
include(GoogleTest)
function(ratalia_add_gtest area target)
  if(CMAKE_CROSSCOMPILING)
    ratalia_add_test(${area}.suite COMMAND ${target})
  else()
    gtest_discover_tests(${target} TEST_PREFIX ${area}.)
  endif()
endfunction()
