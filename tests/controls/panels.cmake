# Panels, scroll views and the scroll bar: the geometry of the bars, the
# panel's scrolling, the view and the stand-alone bar, and a view in a real
# host window, in one executable over the element and host test support,
# carrying the system resources.
orvo_test(controls_panel_test
  ${CMAKE_CURRENT_LIST_DIR}/panels/PanelTestHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panels/ScrollBarPartsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panels/PanelTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panels/ScrollViewTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panels/ScrollBarTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panels/ScrollViewWindowTest.cpp
  LIBS wui_controls core_host_support core_element_support orvo_test_support orvo_freed_memory_probe
    wui_sys_skin wui_sys_res TIMEOUT 600)
target_include_directories(controls_panel_test PRIVATE "${CMAKE_CURRENT_LIST_DIR}" "${CMAKE_SOURCE_DIR}/tests/core")
