# The built-in skins: images drawn by our script at build time, carried with
# sys_skin.xml in one resource object. Programs and tests that load the system
# resources link the object library wui_sys_skin.
set(sys_skin_out "${CMAKE_CURRENT_BINARY_DIR}/sys_skin")
set(sys_skin_rc "${sys_skin_out}/wui_sys_skin.rc")
add_custom_command(OUTPUT "${sys_skin_rc}"
  COMMAND python3 -B "${CMAKE_CURRENT_LIST_DIR}/make_sys_skins.py" "${sys_skin_out}" "${CMAKE_CURRENT_LIST_DIR}/sys_skin.xml"
  DEPENDS "${CMAKE_CURRENT_LIST_DIR}/make_sys_skins.py" "${CMAKE_CURRENT_LIST_DIR}/pngcanvas.py"
          "${CMAKE_CURRENT_LIST_DIR}/sys_skin.xml"
  COMMENT "Drawing the built-in skin images")
add_library(wui_sys_skin OBJECT "${sys_skin_rc}")
