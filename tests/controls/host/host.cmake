# The elements that reach through to the native host window: caption and
# real window, in real host windows under Xvfb.
orvo_test(controls_host_test
  ${CMAKE_CURRENT_LIST_DIR}/CaptionTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RealWndTest.cpp
  LIBS wui_controls core_host_support orvo_freed_memory_probe wui_sys_skin wui_sys_res TIMEOUT 600)
target_include_directories(controls_host_test PRIVATE "${CMAKE_SOURCE_DIR}/tests/core")
