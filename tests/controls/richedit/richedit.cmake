# Rich edit and edit on the platform's text services: the RTF stream
# callbacks, then real host windows under Xvfb (text, typing, scrolling,
# number filter, limits, drop target, focus, cue text, context-menu commands,
# RTF files, alpha after painting), saving "richedit_licence.png".
orvo_host_test(controls_richedit_test
  ${CMAKE_CURRENT_LIST_DIR}/RtfStreamTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RichEditWindowTest.cpp
  LIBS wui_controls orvo_freed_memory_probe)
# Typed text needs the window to keep the keyboard focus, which another
# test's window can take at any moment: these run alone.
set_tests_properties(controls_richedit_test PROPERTIES RUN_SERIAL TRUE)
