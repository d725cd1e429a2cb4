# Hot-key field, spin button, calendar, slider and split window: date
# arithmetic, keys with the keyboard state set, part and pane geometry,
# clicks and drags through a real container, caret and render targets
# recorded, painting on a memory render target; and all five in a real host
# window, saved as "input_controls.png".
orvo_host_test(controls_input_test
  ${CMAKE_CURRENT_LIST_DIR}/InputHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalendarTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HotKeyTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SpinButtonTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InputControlsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InputWindowTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SliderTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SplitWndTest.cpp
  LIBS wui_controls core_element_support orvo_freed_memory_probe)
