# partition_add_test(<name> SOURCES <file>... [LIBRARIES <target>...]
#                    [ENVIRONMENT <VAR=value>...])
# Builds one test executable and registers it with CTest under <name>.
# Links GoogleTest's main unless a library brings its own main (Qt Test).
function(partition_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "OWN_MAIN" "" "SOURCES;LIBRARIES;ENVIRONMENT")
  add_executable(${name} ${ARG_SOURCES})
  partition_warnings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES})
  if(NOT ARG_OWN_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main GTest::gmock)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  if(ARG_ENVIRONMENT)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}")
  endif()
endfunction()
