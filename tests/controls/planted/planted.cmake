# Libraries the framework loads at run time (the rich edit's text services,
# URL monikers) come from the system folder, even with libraries of the same
# names beside the program: the test runs from a folder of its own holding
# such planted copies.
orvo_test(controls_planted_library_test ${CMAKE_CURRENT_LIST_DIR}/PlantedLibraryTest.cpp
  LIBS wui_controls orvo_test_support)
target_include_directories(controls_planted_library_test PRIVATE "${CMAKE_SOURCE_DIR}/tests/core")
set(planted_dir "${CMAKE_CURRENT_BINARY_DIR}/planted")
set_target_properties(controls_planted_library_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${planted_dir}")
add_dependencies(controls_planted_library_test orvo_planted_dll)
add_custom_command(TARGET controls_planted_library_test POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy "$<TARGET_FILE:orvo_planted_dll>" "${planted_dir}/riched20.dll"
  COMMAND ${CMAKE_COMMAND} -E copy "$<TARGET_FILE:orvo_planted_dll>" "${planted_dir}/urlmon.dll")
