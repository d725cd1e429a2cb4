# Skins, skin factories and the skin, font and style pools: one executable,
# carrying the built-in skin resources.
orvo_test(skin_test
  ${CMAKE_CURRENT_LIST_DIR}/SkinObjectsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinPoolTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StylePoolTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FontPoolTest.cpp
  LIBS wui_render wui_sys_skin TIMEOUT 600)
