# Skins, skin factories and the skin, font and style pools: one executable,
# carrying the built-in skin resources.
orvo_test(skin_test
  ${CMAKE_CURRENT_LIST_DIR}/SkinObjectsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinPoolTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StylePoolTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FontPoolTest.cpp
  LIBS wui_render wui_sys_skin TIMEOUT 600)

# Benchmark: built by default, run by hand with the bench_skins target.
orvo_bench(skin_bench ${CMAKE_CURRENT_LIST_DIR}/SkinBench.cpp LIBS wui_render)
add_custom_target(bench_skins
  COMMAND "${CMAKE_SOURCE_DIR}/tools/wine-run.sh" "$<TARGET_FILE:skin_bench>"
  DEPENDS skin_bench USES_TERMINAL)
