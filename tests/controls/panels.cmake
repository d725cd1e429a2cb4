# Panels, scroll views and the scroll bar: the geometry of the bars, the
# panel's scrolling, the view and the stand-alone bar, in one executable over
# the element test support, carrying the built-in skins.
orvo_test(controls_panel_test
  ${CMAKE_CURRENT_LIST_DIR}/panels/PanelTestHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panels/ScrollBarPartsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panels/PanelTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panels/ScrollViewTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panels/ScrollBarTest.cpp
  LIBS wui_controls core_element_support orvo_test_support wui_sys_skin TIMEOUT 600)
target_include_directories(controls_panel_test PRIVATE "${CMAKE_CURRENT_LIST_DIR}" "${CMAKE_SOURCE_DIR}/tests/core")
