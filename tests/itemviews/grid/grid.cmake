# The header control and the list control: hit tests, column numbers, drags
# and selection through a container over a recorded native side (the input
# controls' test host), and both in a real host window, saved as
# "listctrl_header.png" for a person to look at.
orvo_test(itemviews_grid_test
  ${CMAKE_SOURCE_DIR}/tests/controls/input/InputHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GridTestSupport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HeaderCtrlTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ListCtrlTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GridWindowTest.cpp
  LIBS wui_itemviews core_element_support core_host_support orvo_test_support wui_sys_skin wui_sys_res
  TIMEOUT 600)
target_include_directories(itemviews_grid_test PRIVATE
  "${CMAKE_SOURCE_DIR}/tests" "${CMAKE_SOURCE_DIR}/tests/core" "${CMAKE_SOURCE_DIR}/tests/controls/input"
  "${CMAKE_CURRENT_LIST_DIR}")
