# The tab control and the message box built on it: the tab control in a
# real element container without a window, then both in real windows under
# Xvfb, saved as "tab_slide.png" and "message_box.png".
orvo_test(controls_tab_test
  ${CMAKE_CURRENT_LIST_DIR}/TabHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TabCtrlTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TabWindowTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MessageBoxTest.cpp
  LIBS wui_controls core_element_support core_host_support orvo_test_support wui_sys_skin wui_sys_res
  TIMEOUT 600)
target_include_directories(controls_tab_test PRIVATE
  "${CMAKE_SOURCE_DIR}/tests" "${CMAKE_SOURCE_DIR}/tests/core" "${CMAKE_CURRENT_LIST_DIR}")
