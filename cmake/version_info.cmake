# Gives a Windows program the VERSIONINFO resource that Explorer shows under
# Properties > Details: the project's version, the product's name and the
# program's description, all from here and the top CMakeLists.txt.
#
#   zmr_add_version_info(TARGET "Description")
function(zmr_add_version_info target description)
  set(ZMR_RC_DESCRIPTION "${description}")
  set(ZMR_RC_INTERNAL_NAME "${target}")
  set(ZMR_RC_FILE_NAME "${target}.exe")
  set(script "${CMAKE_CURRENT_BINARY_DIR}/${target}_version_info.rc")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/version_info.rc.in" "${script}" @ONLY)
  target_sources(${target} PRIVATE "${script}")
endfunction()
