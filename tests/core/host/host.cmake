# The host window's services: the caret on memory targets, the tooltip popup
# as a real window (screenshot "tooltip.png"), the script timer.
orvo_test(core_host_test
  ${CMAKE_CURRENT_LIST_DIR}/SCaretTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/STipCtrlTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SScriptTimerTest.cpp
  LIBS core_element_support orvo_test_support TIMEOUT 600)
