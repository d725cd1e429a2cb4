# ActiveX hosting: a windowless test control registered at run time (call
# order, delayed creation, capture, teardown, reference counts), and the
# platform's own Flash and media-player controls in real host windows.
orvo_test(controls_activex_test
  ${CMAKE_CURRENT_LIST_DIR}/TestControl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ActiveXTest.cpp
  LIBS wui_controls core_host_support orvo_test_support wui_sys_skin wui_sys_res
  TIMEOUT 600)
target_include_directories(controls_activex_test PRIVATE
  "${CMAKE_SOURCE_DIR}/tests" "${CMAKE_SOURCE_DIR}/tests/core" "${CMAKE_CURRENT_LIST_DIR}")
