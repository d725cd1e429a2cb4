# ActiveX hosting: a windowless test control registered at run time (call
# order, delayed creation, capture, teardown, reference counts), and the
# platform's own Flash and media-player controls in real host windows.
orvo_host_test(controls_activex_test
  ${CMAKE_CURRENT_LIST_DIR}/TestControl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ActiveXTest.cpp
  LIBS wui_controls orvo_freed_memory_probe)
