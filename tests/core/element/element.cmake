# Element model: what the element tests share (a fake container, a real
# container over a recorded native side, and a host for trees built from
# layout strings; later folders' tests use it too), the tests themselves, and
# the layout benchmark.
add_library(core_element_support STATIC
  ${CMAKE_CURRENT_LIST_DIR}/FakeContainer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ElementHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ContainerHost.cpp)
target_compile_options(core_element_support PRIVATE ${ORVO_WARNINGS})
target_include_directories(core_element_support PUBLIC "${CMAKE_CURRENT_LIST_DIR}/..")
target_link_libraries(core_element_support PUBLIC wui_core)

orvo_test(core_element_test
  ${CMAKE_CURRENT_LIST_DIR}/WindowFactoryTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SwndStyleTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EventTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SWindowTreeTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SwndLayoutTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SWindowMsgTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SWindowInputTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SWindowPaintTest.cpp
  LIBS core_element_support orvo_test_support orvo_freed_memory_probe TIMEOUT 600)

# Input: accelerators, focus, drop targets and the container's dispatch.
orvo_test(core_input_test
  ${CMAKE_CURRENT_LIST_DIR}/AcceleratorTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DragDropTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FocusTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ContainerDispatchTest.cpp
  LIBS core_element_support orvo_test_support TIMEOUT 600)
# The drag image is read back from the screen, where another test's window
# could stand over it: these run alone.
set_tests_properties(core_input_test PROPERTIES RUN_SERIAL TRUE)

# Layout, element creation and event speed, run by hand: not a CTest test.
orvo_bench(core_layout_bench ${CMAKE_CURRENT_LIST_DIR}/bench/LayoutBench.cpp LIBS core_element_support)
add_custom_target(bench_layout COMMAND "${CMAKE_SOURCE_DIR}/tools/wine-run.sh" "$<TARGET_FILE:core_layout_bench>"
  DEPENDS core_layout_bench WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}" USES_TERMINAL)

# Element paint and hit-test speed, run by hand: not a CTest test.
orvo_bench(core_paint_bench ${CMAKE_CURRENT_LIST_DIR}/bench/PaintBench.cpp LIBS core_element_support)
add_custom_target(bench_paint COMMAND "${CMAKE_SOURCE_DIR}/tools/wine-run.sh" "$<TARGET_FILE:core_paint_bench>"
  DEPENDS core_paint_bench WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}" USES_TERMINAL)
