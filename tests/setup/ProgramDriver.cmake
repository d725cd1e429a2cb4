# Driving the real programs end to end: ProgramDriver, and tests that run in
# a Wine prefix of their own, made fresh before each run.
add_library(setup_program_driver STATIC ${CMAKE_CURRENT_LIST_DIR}/ProgramDriver.cpp)
target_compile_options(setup_program_driver PRIVATE ${ORVO_WARNINGS})
target_include_directories(setup_program_driver PUBLIC "${CMAKE_CURRENT_LIST_DIR}")
target_link_libraries(setup_program_driver PUBLIC wui_core wui_render)

# orvo_program_test(name sources... LIBS ... [TIMEOUT s]): an orvo_test whose
# Wine prefix ("<name>.wineprefix" in the binary folder) is removed before it
# runs, so the programs it starts find a new user's machine. The paths of the
# programs are given to the code as ORVOSETUP_EXE, ORVOUNINSTALL_EXE and
# ORVOMAIN_EXE (wide string literals).
function(orvo_program_test name)
  orvo_test(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE setup_program_driver)
  add_dependencies(${name} OrvoUninstall)
  foreach(exe OrvoSetup OrvoUninstall OrvoMain)
    orvo_wine_path(p "$<TARGET_FILE:${exe}>")
    string(TOUPPER "${exe}" up)
    target_compile_definitions(${name} PRIVATE "${up}_EXE=L\"${p}\"")
  endforeach()
  set(prefix "${CMAKE_CURRENT_BINARY_DIR}/${name}.wineprefix")
  add_test(NAME ${name}_fresh_prefix COMMAND ${CMAKE_COMMAND} -E rm -rf "${prefix}" "${prefix}.lock")
  set_tests_properties(${name}_fresh_prefix PROPERTIES FIXTURES_SETUP ${name}_prefix)
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED ${name}_prefix)
  set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "ORVO_WINEPREFIX=${prefix}")
  # A program's windows take the display's keyboard focus, which other tests'
  # windows need for typed text, and programs of another prefix answer to
  # another Wine server, which does not know this one's window order: such
  # tests run alone.
  set_property(TEST ${name} PROPERTY RUN_SERIAL TRUE)
endfunction()
