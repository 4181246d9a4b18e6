# Resource scripts (dialog templates, bitmaps, version information), compiled by windres once
# and linked whole into every program that links the library they belong to. A compiled script
# defines no symbol, so the linker would never take it out of a static library: its object
# travels with the library's link interface instead.
#
#   add_resource_script(<library> <script> [DEPENDS <file>...])
#
# DEPENDS names what the script includes (headers of ids, bitmaps): windres writes no dependency
# file, so only the files named here make the script compile again when they change.
function(add_resource_script library script)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "" "" "DEPENDS")
  set(objects ${library}_resources)
  add_library(${objects} OBJECT ${script})
  set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS "${ARG_DEPENDS}")
  target_link_libraries(${library} INTERFACE $<TARGET_OBJECTS:${objects}>)
endfunction()
