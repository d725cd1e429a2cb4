# The tab control and the message box built on it: the tab control in a
# real element container without a window, then both in real windows under
# Xvfb, saved as "tab_slide.png" and "message_box.png".
orvo_host_test(controls_tab_test
  ${CMAKE_CURRENT_LIST_DIR}/TabHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TabCtrlTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TabWindowTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MessageBoxTest.cpp
  LIBS wui_controls core_element_support orvo_freed_memory_probe)
