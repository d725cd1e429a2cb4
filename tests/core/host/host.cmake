# The host window's services: the caret on memory targets, the tooltip popup
# as a real window (screenshot "tooltip.png"), the script timer; host windows
# and dialogs under Xvfb (screenshots "host_*.png").

# What tests of real host windows share, the controls' tests too: include
# "host/HostTestSupport.h" and link the system resources' objects
# (wui_sys_skin, wui_sys_res) into the test.
add_library(core_host_support STATIC ${CMAKE_CURRENT_LIST_DIR}/HostTestSupport.cpp)
target_compile_options(core_host_support PRIVATE ${ORVO_WARNINGS})
target_include_directories(core_host_support PUBLIC "${CMAKE_CURRENT_LIST_DIR}/..")
target_link_libraries(core_host_support PUBLIC wui_core)

orvo_test(core_host_test
  ${CMAKE_CURRENT_LIST_DIR}/SCaretTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/STipCtrlTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SScriptTimerTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SHostWndTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SHostDialogTest.cpp
  LIBS core_host_support core_element_support orvo_test_support orvo_freed_memory_probe wui_sys_skin wui_sys_res
  TIMEOUT 900)

# Start-up and repaint speed of a host window, run by hand: not a CTest test.
orvo_bench(core_host_bench ${CMAKE_CURRENT_LIST_DIR}/bench/HostBench.cpp
  LIBS core_host_support wui_sys_skin wui_sys_res)
target_link_options(core_host_bench PRIVATE -municode)
add_custom_target(bench_host COMMAND "${CMAKE_SOURCE_DIR}/tools/wine-run.sh" "$<TARGET_FILE:core_host_bench>"
  DEPENDS core_host_bench WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}" USES_TERMINAL)

# Real OLE drags onto host windows, driven by real mouse input: they take the
# screen and the mouse, so they run alone.
orvo_test(core_host_dragdrop_test ${CMAKE_CURRENT_LIST_DIR}/HostDragDropTest.cpp
  LIBS core_host_support orvo_test_support orvo_freed_memory_probe wui_sys_skin wui_sys_res TIMEOUT 300)
set_tests_properties(core_host_dragdrop_test PROPERTIES RUN_SERIAL TRUE)
