# Rich edit and edit on the platform's text services: the RTF stream
# callbacks, then real host windows under Xvfb (text, typing, scrolling,
# number filter, limits, drop target, focus, cue text, context-menu commands,
# RTF files, alpha after painting), saving "richedit_licence.png".
orvo_test(controls_richedit_test
  ${CMAKE_CURRENT_LIST_DIR}/RtfStreamTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RichEditWindowTest.cpp
  LIBS wui_controls core_host_support orvo_test_support wui_sys_skin wui_sys_res
  TIMEOUT 600)
target_include_directories(controls_richedit_test PRIVATE
  "${CMAKE_SOURCE_DIR}/tests" "${CMAKE_SOURCE_DIR}/tests/core" "${CMAKE_CURRENT_LIST_DIR}")
