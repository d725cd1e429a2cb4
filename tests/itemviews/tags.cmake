# Every tag of the framework reaches the window factories through one call.
orvo_test(itemviews_tags_test ${CMAKE_CURRENT_LIST_DIR}/FrameworkTagsTest.cpp
  LIBS wui_itemviews TIMEOUT 120)
target_include_directories(itemviews_tags_test PRIVATE "${CMAKE_SOURCE_DIR}/tests/core")
