# The parsers' fuzz targets in the main build: their host build (tests/fuzz/CMakeLists.txt,
# clang with sanitizers) made in <build>/fuzz, and one test per target that runs it over the
# inputs kept in tests/fuzz/fixtures/<target>/ once each, not for a time. scripts/fuzz fuzzes.
include(ExternalProject)
set(fuzz_dir ${CMAKE_CURRENT_LIST_DIR})
ExternalProject_Add(fuzz_targets
  SOURCE_DIR ${fuzz_dir}
  BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
  CMAKE_GENERATOR Ninja
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  USES_TERMINAL_BUILD ON)

file(GLOB fuzz_sources CONFIGURE_DEPENDS ${fuzz_dir}/targets/*.cpp)
foreach(source IN LISTS fuzz_sources)
  get_filename_component(target ${source} NAME_WE)
  add_test(NAME fuzz.${target}
    COMMAND bash ${fuzz_dir}/run_fixtures.sh ${CMAKE_BINARY_DIR}/fuzz/fuzz_${target}
            ${fuzz_dir}/fixtures/${target})
  set_tests_properties(fuzz.${target} PROPERTIES LABELS "unit;fuzz" TIMEOUT 300)
endforeach()
