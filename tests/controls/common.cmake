# The common controls: one executable over the element test support, carrying
# the built-in skins.
orvo_test(controls_common_test
  ${CMAKE_CURRENT_LIST_DIR}/common/ControlHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/common/TextLinkTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/common/ButtonTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/common/CheckRadioTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/common/ProgressTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/common/PictureTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/common/FrameTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/common/Gallery.cpp
  ${CMAKE_CURRENT_LIST_DIR}/common/GalleryTest.cpp
  LIBS wui_controls core_element_support wui_sys_skin TIMEOUT 600)
target_include_directories(controls_common_test PRIVATE "${CMAKE_CURRENT_LIST_DIR}" "${CMAKE_SOURCE_DIR}/tests/core")
