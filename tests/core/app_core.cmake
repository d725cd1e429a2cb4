# Application core: native windows, message loop, timers, window manager,
# resources, named values, translator, application object.
orvo_test(core_app_test
  ${CMAKE_CURRENT_LIST_DIR}/CSimpleWndTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SMessageLoopTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/STimer2Test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SWindowFinderTest.cpp
  LIBS wui_core TIMEOUT 600)
