# The framework's system resources besides the built-in skins (wui_sys_skin):
# the edit menu and the message-box template. Programs and tests that call
# LoadSystemResources link both object libraries.
orvo_resources(${CMAKE_CURRENT_LIST_DIR}/sys_res.rc)
add_library(wui_sys_res OBJECT ${CMAKE_CURRENT_LIST_DIR}/sys_res.rc)
