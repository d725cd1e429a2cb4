# Settings for the project's own targets.
set(ORVO_WARNINGS -Wall -Wextra -Werror)

# orvo_library(name [SOURCES files...] [DEPS targets...]): one static library
# per framework folder, included as "folder/Header.h". A folder whose sources
# have not come yet is an interface library, so its users link it already.
function(orvo_library name)
  cmake_parse_arguments(L "" "" "SOURCES;DEPS" ${ARGN})
  if(L_SOURCES)
    add_library(${name} STATIC ${L_SOURCES})
    target_compile_options(${name} PRIVATE ${ORVO_WARNINGS})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${name} ${scope} "${CMAKE_SOURCE_DIR}/framework")
  target_link_libraries(${name} ${scope} ${L_DEPS})
endfunction()

# orvo_program(name sources...): a Windows GUI executable.
function(orvo_program name)
  add_executable(${name} WIN32 ${ARGN})
  target_compile_options(${name} PRIVATE ${ORVO_WARNINGS})
  target_link_options(${name} PRIVATE -municode)
endfunction()

# orvo_resources(rc): makes the .rc's object depend on every file it pulls in
# (each quoted name that is a file beside the .rc), so editing a layout, image
# or translation rebuilds the executables that carry it. Adding a file to the
# .rc re-runs the configure step.
function(orvo_resources rc)
  get_filename_component(rc "${rc}" ABSOLUTE)
  get_filename_component(dir "${rc}" DIRECTORY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${rc}")
  file(STRINGS "${rc}" lines REGEX "\"[^\"]+\"")
  set(deps)
  foreach(line IN LISTS lines)
    string(REGEX MATCHALL "\"[^\"]+\"" names "${line}")
    foreach(name IN LISTS names)
      string(REPLACE "\"" "" name "${name}")
      string(REPLACE "\\\\" "/" name "${name}")
      if(EXISTS "${dir}/${name}" AND NOT IS_DIRECTORY "${dir}/${name}")
        list(APPEND deps "${dir}/${name}")
      endif()
    endforeach()
  endforeach()
  set_property(SOURCE "${rc}" APPEND PROPERTY OBJECT_DEPENDS ${deps})
endfunction()

# orvo_test(name sources... [LIBS libs...] [LABELS labels...]): a GoogleTest
# executable run as one CTest test under Wine.
function(orvo_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_compile_options(${name} PRIVATE ${ORVO_WARNINGS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest_main)
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "${T_LABELS}"
    ENVIRONMENT "ORVO_SOURCE_DIR=${CMAKE_SOURCE_DIR};ORVO_BINARY_DIR=${CMAKE_BINARY_DIR}")
endfunction()

# orvo_wine_path(var path): the path as Wine's Z: drive sees it, escaped for a
# C string literal ("Z:\\work\\build\\x.exe").
function(orvo_wine_path var path)
  string(REPLACE "/" "\\\\" p "${path}")
  set(${var} "Z:${p}" PARENT_SCOPE)
endfunction()

# orvo_bench(name sources... LIBS libs...): a benchmark program, built with the
# rest but never run by CTest; its target bench_<area> runs it.
function(orvo_bench name)
  cmake_parse_arguments(B "" "" "LIBS" ${ARGN})
  add_executable(${name} ${B_UNPARSED_ARGUMENTS})
  target_compile_options(${name} PRIVATE ${ORVO_WARNINGS})
  target_include_directories(${name} PRIVATE "${CMAKE_SOURCE_DIR}/tests")
  target_link_libraries(${name} PRIVATE ${B_LIBS})
endfunction()

# orvo_delay_import(target dll): a library target linking the system library
# "<dll>.dll" so that it loads on its first call instead of with the program.
# A program's imports are resolved before any of its code runs, and those the
# system does not always know are looked for in the program's own folder
# first, where a planted copy would be taken. Made from MinGW's import
# library of the same name when configuring.
function(orvo_delay_import target dll)
  find_library(import_${dll} NAMES lib${dll}.a REQUIRED)
  set(dir "${CMAKE_BINARY_DIR}/delay-imports")
  set(def "${dir}/${dll}.def")
  set(lib "${dir}/lib${dll}-delay.a")
  file(MAKE_DIRECTORY "${dir}")
  execute_process(COMMAND "${CMAKE_NM}" -g --defined-only "${import_${dll}}"
    OUTPUT_VARIABLE symbols RESULT_VARIABLE nm_result)
  if(NOT nm_result EQUAL 0)
    message(FATAL_ERROR "Cannot list the exports of ${import_${dll}}")
  endif()
  # Code symbols are "_Name@bytes"; dlltool -k drops the "@bytes" from the
  # names it imports, as the library exports them undecorated.
  string(REGEX MATCHALL "[0-9a-fA-F]+ T _[A-Za-z0-9_]+@[0-9]+" entries "${symbols}")
  set(text "LIBRARY ${dll}.dll\nEXPORTS\n")
  foreach(entry IN LISTS entries)
    string(REGEX REPLACE "^[0-9a-fA-F]+ T _" "" name "${entry}")
    string(APPEND text "${name}\n")
  endforeach()
  file(WRITE "${def}" "${text}")
  execute_process(COMMAND "${CMAKE_DLLTOOL}" -k --input-def "${def}" --output-delaylib "${lib}" --dllname ${dll}.dll
    RESULT_VARIABLE dlltool_result)
  if(NOT dlltool_result EQUAL 0)
    message(FATAL_ERROR "Cannot make the delay-load library of ${dll}.dll")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${import_${dll}}")
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES IMPORTED_LOCATION "${lib}")
endfunction()
