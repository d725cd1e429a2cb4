# orvo_art(script rc...): the program's images and icon are drawn by its
# script into the build tree at build time; each .rc names them by file name
# and the resource compiler finds them there. Redrawn when a drawing script
# changes.
set(ORVO_ART_MODULES "${CMAKE_CURRENT_LIST_DIR}/orvo_art.py"
                     "${CMAKE_CURRENT_LIST_DIR}/../../framework/render/res/pngcanvas.py")
function(orvo_art script)
  get_filename_component(script "${script}" ABSOLUTE)
  get_filename_component(name "${script}" NAME_WE)
  set(out "${CMAKE_CURRENT_BINARY_DIR}/art")
  set(stamp "${out}/${name}.stamp")
  add_custom_command(OUTPUT "${stamp}"
    COMMAND python3 -B "${script}" "${out}"
    COMMAND ${CMAKE_COMMAND} -E touch "${stamp}"
    DEPENDS "${script}" ${ORVO_ART_MODULES}
    COMMENT "Drawing images: ${name}.py")
  foreach(rc IN LISTS ARGN)
    get_filename_component(rc "${rc}" ABSOLUTE)
    set_property(SOURCE "${rc}" APPEND PROPERTY OBJECT_DEPENDS "${stamp}")
    set_property(SOURCE "${rc}" APPEND PROPERTY INCLUDE_DIRECTORIES "${out}")
  endforeach()
endfunction()
