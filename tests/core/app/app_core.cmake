# Application core: native windows, message loop, timers, window manager,
# resources, named values, translator, application object.
orvo_resources(${CMAKE_CURRENT_LIST_DIR}/res/core_app_test.rc)
orvo_test(core_app_test
  ${CMAKE_CURRENT_LIST_DIR}/CSimpleWndTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SMessageLoopTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/STimer2Test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SWindowFinderTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/STranslatorTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SNamedValueTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SResProviderTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SApplicationTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SUiDefTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/res/core_app_test.rc
  LIBS wui_core orvo_freed_memory_probe TIMEOUT 600)

# Speed figures of the lookups, run by hand: not a CTest test.
orvo_bench(core_app_bench ${CMAKE_CURRENT_LIST_DIR}/bench/AppBench.cpp ${CMAKE_CURRENT_LIST_DIR}/res/core_app_test.rc LIBS wui_core)
add_custom_target(bench_app COMMAND "${CMAKE_SOURCE_DIR}/tools/wine-run.sh" "$<TARGET_FILE:core_app_bench>"
  DEPENDS core_app_bench WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}" USES_TERMINAL)
