# The base of the adapter-driven views: item locators (fixed, flexible and
# tile), the branch tree under the flexible one, and item panels hosted by a
# stand-in view (RowView) on a fake container with a memory render target.
# CountAdapter and RowView are there for the views' own tests too.
orvo_test(itemviews_base_test
  ${CMAKE_CURRENT_LIST_DIR}/LocatorTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ItemPanelTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RowView.cpp
  LIBS wui_itemviews core_element_support orvo_test_support TIMEOUT 600)
target_include_directories(itemviews_base_test PRIVATE "${CMAKE_SOURCE_DIR}/tests" "${CMAKE_CURRENT_LIST_DIR}")

# Locator speed against a plain sorted array, run by hand: not a CTest test.
orvo_bench(itemviews_locator_bench ${CMAKE_CURRENT_LIST_DIR}/bench/LocatorBench.cpp LIBS wui_itemviews)
add_custom_target(bench_locators COMMAND "${CMAKE_SOURCE_DIR}/tools/wine-run.sh" "$<TARGET_FILE:itemviews_locator_bench>"
  DEPENDS itemviews_locator_bench WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}" USES_TERMINAL)
