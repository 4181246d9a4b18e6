# The crash reporter's own source file names, one C++ string each, written to `output`: call
# stacks hide their code (reporter/diagnostics/debug_formats/hidden_units.cpp).
function(write_reporter_units output)
  file(GLOB_RECURSE reporter_files CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../reporter/*.cpp
    ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../reporter/*.h)
  set(reporter_units)
  foreach(file IN LISTS reporter_files)
    get_filename_component(name ${file} NAME)
    list(APPEND reporter_units "\"${name}\",")
  endforeach()
  list(REMOVE_DUPLICATES reporter_units)
  list(SORT reporter_units CASE INSENSITIVE)
  list(JOIN reporter_units "\n" reporter_units)
  file(CONFIGURE OUTPUT ${output} CONTENT "${reporter_units}\n")
endfunction()
