# The header control, the list control, the tile view and the multi-column
# list view: hit tests, column numbers, drags, selection, keys and sorting
# through a container over a recorded native side (the input controls' test
# host; the list views' test adapter), and in real host windows, saved as
# "listctrl_header.png", "tileview.png" and "mclistview.png" for a person to
# look at.
orvo_host_test(itemviews_grid_test
  ${CMAKE_SOURCE_DIR}/tests/controls/input/InputHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GridTestSupport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HeaderCtrlTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ListCtrlTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TileViewTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MCListViewTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GridWindowTest.cpp
  LIBS wui_itemviews core_element_support
  INCLUDE "${CMAKE_SOURCE_DIR}/tests/controls/input" "${CMAKE_SOURCE_DIR}/tests/itemviews/views")

# The header's drag image read back from the screen ("header_drag.png"): it
# needs the screen to itself, so it runs alone.
orvo_host_test(itemviews_header_drag_test ${CMAKE_CURRENT_LIST_DIR}/HeaderDragImageTest.cpp
  LIBS wui_itemviews)
set_tests_properties(itemviews_header_drag_test PROPERTIES RUN_SERIAL TRUE)
