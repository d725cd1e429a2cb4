# The common controls: one executable over the element and host test support,
# carrying the system resources; the gallery saves "controls_gallery.png"
# (a real window) and "controls_gallery_memory.png".
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
  ${CMAKE_CURRENT_LIST_DIR}/common/GalleryWindowTest.cpp
  LIBS wui_controls orvo_freed_memory_probe core_element_support core_host_support wui_sys_skin wui_sys_res TIMEOUT 600)
target_include_directories(controls_common_test PRIVATE "${CMAKE_CURRENT_LIST_DIR}" "${CMAKE_SOURCE_DIR}/tests/core")
