# Shell tests: one CTest test per case of a script that sources tests/checks.sh. The cases are
# the script's `case_<name>() {` lines, read when CMake configures (a change to the script
# configures again); a `# ctest: PROPERTY value...` comment on such a line adds properties to
# that case's test (TIMEOUT replaces the script's, every other one is appended).
#
#   add_shell_cases(<prefix> <script> LABELS <label>... TIMEOUT <seconds>
#                   [RESOURCE_LOCK <lock>...] [FIXTURES_REQUIRED <fixture>...])
#
# Tests are named <prefix>.<case>; exit code 77 marks a case this machine cannot check.
function(add_shell_cases prefix script)
  cmake_parse_arguments(ARG "" "TIMEOUT" "LABELS;RESOURCE_LOCK;FIXTURES_REQUIRED" ${ARGN})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${script})
  file(STRINGS ${script} lines REGEX "^case_[a-z0-9_]+\\(\\) {")
  if(NOT lines)
    message(FATAL_ERROR "${script}: no case_<name>() functions")
  endif()
  _sample_environment(sample_environment)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^case_([a-z0-9_]+)\\(\\).*" "\\1" case "${line}")
    set(test ${prefix}.${case})
    add_test(NAME ${test} COMMAND bash ${script} ${CMAKE_BINARY_DIR} ${case})
    set_tests_properties(${test} PROPERTIES
      LABELS "${ARG_LABELS}" TIMEOUT ${ARG_TIMEOUT} SKIP_RETURN_CODE 77
      ENVIRONMENT "${sample_environment}")
    if(ARG_RESOURCE_LOCK)
      set_property(TEST ${test} APPEND PROPERTY RESOURCE_LOCK ${ARG_RESOURCE_LOCK})
    endif()
    if(ARG_FIXTURES_REQUIRED)
      set_property(TEST ${test} APPEND PROPERTY FIXTURES_REQUIRED ${ARG_FIXTURES_REQUIRED})
    endif()
    if(line MATCHES "# ctest: (.*)$")
      separate_arguments(extra UNIX_COMMAND "${CMAKE_MATCH_1}")
      _shell_case_properties(${test} ${extra})
    endif()
  endforeach()
endfunction()

# Property/value pairs from a case's comment; a property's values run up to the next
# upper-case word.
function(_shell_case_properties test)
  set(property "")
  foreach(word IN LISTS ARGN)
    if(word MATCHES "^[A-Z_]+$")
      set(property ${word})
    elseif(property STREQUAL "TIMEOUT")
      set_tests_properties(${test} PROPERTIES TIMEOUT ${word})
    elseif(property)
      set_property(TEST ${test} APPEND PROPERTY ${property} ${word})
    else()
      message(FATAL_ERROR "${test}: a value without a property: ${word}")
    endif()
  endforeach()
endfunction()

# A test program of GoogleTest cases, run as one test under the emulator.
#
#   add_program_test(<target> [LABELS <label>...] [TIMEOUT <seconds>] [RESOURCE_LOCK <lock>...])
#
# Labelled `unit` unless told otherwise; 300 seconds unless told otherwise.
function(add_program_test target)
  cmake_parse_arguments(ARG "" "TIMEOUT" "LABELS;RESOURCE_LOCK" ${ARGN})
  if(NOT ARG_LABELS)
    set(ARG_LABELS unit)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_test(NAME ${target} COMMAND ${target})
  _sample_environment(sample_environment)
  set_tests_properties(${target} PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "${sample_environment}")
  if(ARG_RESOURCE_LOCK)
    set_property(TEST ${target} APPEND PROPERTY RESOURCE_LOCK ${ARG_RESOURCE_LOCK})
  endif()
endfunction()

# The environment that tells every test where the sample tables are (the settings of the top
# CMakeLists.txt).
function(_sample_environment out)
  set(${out} "PARADOX_SAMPLES=${PARADOX_SAMPLES};PARADOX_LEGACY_SAMPLES=${PARADOX_LEGACY_SAMPLES}"
    PARENT_SCOPE)
endfunction()
