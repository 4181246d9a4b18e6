# Programs and libraries that carry the crash reporter data (the RCDATA resource "KFDATA"). They
# are linked twice: the first link's map tells where the runtime procedures lie and its DWARF data
# gives the line table; mkkfdata turns these and the options text into the resource, and the
# final link adds it. Resources come after the code, so the code does not move; mkkfdata checks
# that against the final map.
#   add_kfdata_executable(<target> OPTIONS <options text> SOURCES <files...> LIBRARIES <libs...>
#                         [PASSWORD <text>])   PASSWORD enciphers the line table's names
#   add_kfdata_library(<target> ...) the same for a library loaded at run time
function(add_kfdata_module kind target)
  cmake_parse_arguments(PARSE_ARGV 2 KF "" "OPTIONS;PASSWORD" "SOURCES;LIBRARIES")
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${target}.kfdata)
  set(wine_tool ${PROJECT_SOURCE_DIR}/scripts/wine-tool ${CMAKE_BINARY_DIR}/wine-tools)

  add_library(${target}_objects OBJECT ${KF_SOURCES})
  target_link_libraries(${target}_objects PUBLIC ${KF_LIBRARIES})

  foreach(stage prelink final)
    set(name ${target})
    if(stage STREQUAL prelink)
      set(name ${target}_prelink)
    endif()
    if(kind STREQUAL LIBRARY)
      add_library(${name} MODULE $<TARGET_OBJECTS:${target}_objects>)
      set_target_properties(${name} PROPERTIES PREFIX "")
    else()
      add_executable(${name} $<TARGET_OBJECTS:${target}_objects>)
    endif()
    target_link_libraries(${name} PRIVATE ${KF_LIBRARIES})
    target_link_options(${name} PRIVATE -Wl,-Map=${work}/${stage}.map)
  endforeach()
  set_target_properties(${target}_prelink PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${work}
    LIBRARY_OUTPUT_DIRECTORY ${work})

  set(password)
  if(DEFINED KF_PASSWORD)
    set(password --password ${KF_PASSWORD})
  endif()
  add_custom_command(OUTPUT ${work}/kfdata.bin
    COMMAND ${wine_tool} $<TARGET_FILE:mkkfdata> --map Z:${work}/prelink.map
            --image Z:$<TARGET_FILE:${target}_prelink> ${password}
            --options Z:${KF_OPTIONS} --out Z:${work}/kfdata.bin
    DEPENDS ${target}_prelink mkkfdata ${KF_OPTIONS}
    COMMENT "Crash reporter data for ${target}" VERBATIM)
  file(WRITE ${work}/kfdata.rc "KFDATA RCDATA \"${work}/kfdata.bin\"\n")
  set_source_files_properties(${work}/kfdata.rc PROPERTIES OBJECT_DEPENDS ${work}/kfdata.bin)
  target_sources(${target} PRIVATE ${work}/kfdata.rc)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${wine_tool} $<TARGET_FILE:mkkfdata> --verify --map Z:${work}/final.map
            --kfdata Z:${work}/kfdata.bin
    VERBATIM)
endfunction()

function(add_kfdata_executable target)
  add_kfdata_module(EXECUTABLE ${target} ${ARGN})
endfunction()

function(add_kfdata_library target)
  add_kfdata_module(LIBRARY ${target} ${ARGN})
endfunction()
