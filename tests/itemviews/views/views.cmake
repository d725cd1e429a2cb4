# The views: list box and list view over a real container with a test
# adapter; in real host windows both lists, the drop-down window and the
# combo boxes, with screenshots.
orvo_host_test(itemviews_views_test
  ${CMAKE_CURRENT_LIST_DIR}/ViewHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ListBoxTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ListViewTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ViewsWindowTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DropDownTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ComboWindowTest.cpp
  LIBS wui_itemviews orvo_freed_memory_probe core_element_support)
# An open drop-down ends when its window loses activation, which another
# test's window can take at any moment: these run alone.
set_tests_properties(itemviews_views_test PROPERTIES RUN_SERIAL TRUE)

# List view speed over 100,000 rows against 1,000, run by hand: not a CTest test.
orvo_bench(itemviews_listview_bench ${CMAKE_CURRENT_LIST_DIR}/bench/ListViewBench.cpp
  LIBS wui_itemviews core_element_support)
add_custom_target(bench_listview COMMAND "${CMAKE_SOURCE_DIR}/tools/wine-run.sh" "$<TARGET_FILE:itemviews_listview_bench>"
  DEPENDS itemviews_listview_bench WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}" USES_TERMINAL)
