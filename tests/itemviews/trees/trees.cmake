# The trees: the tree control, and the tree view with its locator over a
# test adapter, on a real container; in a real host window both, with a
# screenshot.
orvo_host_test(itemviews_trees_test
  ${CMAKE_CURRENT_LIST_DIR}/../views/ViewHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TreeCtrlTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TreeViewTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TreesWindowTest.cpp
  LIBS wui_itemviews core_element_support INCLUDE "${CMAKE_CURRENT_LIST_DIR}/../views")
# The window's screenshot is read from the screen, where another test's
# window could stand over it: these run alone.
set_tests_properties(itemviews_trees_test PROPERTIES RUN_SERIAL TRUE)

# Tree control speed over 100,000 items in 1,000 folders, run by hand: not a CTest test.
orvo_bench(itemviews_treectrl_bench ${CMAKE_CURRENT_LIST_DIR}/bench/TreeCtrlBench.cpp
  LIBS wui_itemviews core_element_support)
add_custom_target(bench_treectrl COMMAND "${CMAKE_SOURCE_DIR}/tools/wine-run.sh" "$<TARGET_FILE:itemviews_treectrl_bench>"
  DEPENDS itemviews_treectrl_bench WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}" USES_TERMINAL)
