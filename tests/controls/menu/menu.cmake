# Popup menus: building from XML and item by item, attributes, measuring and
# drawing items, mnemonics, the rich edit's menu greying, and real native
# menus tracked with key input (with a screenshot of an open menu).
orvo_resources(${CMAKE_CURRENT_LIST_DIR}/res/menu_test.rc)
orvo_test(controls_menu_test
  ${CMAKE_CURRENT_LIST_DIR}/MenuEnv.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MenuBuildTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MenuDrawTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MenuTrackTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/res/menu_test.rc
  LIBS wui_controls wui_sys_skin orvo_freed_memory_probe TIMEOUT 600)
target_include_directories(controls_menu_test PRIVATE "${CMAKE_SOURCE_DIR}/tests" "${CMAKE_CURRENT_LIST_DIR}")
# Real key input goes to whatever window is in front: nothing may run beside it.
set_tests_properties(controls_menu_test PROPERTIES RUN_SERIAL TRUE)
