# zmr_write_layer_targets(FILE): writes, when the build is generated, each
# target's folder, sources and linked libraries into FILE, for the check of
# the folders' layer order (tests/layers/layer_check.cpp). Called once every
# directory has defined its targets.

function(zmr_collect_targets dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    zmr_collect_targets(${subdir} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(zmr_write_layer_targets file)
  zmr_collect_targets(${PROJECT_SOURCE_DIR} targets)
  set(content "")
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
      set(prefix INTERFACE_)
    elseif(type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
      set(prefix "")
    else()
      continue()
    endif()
    get_target_property(dir ${target} SOURCE_DIR)
    string(APPEND content "target ${target}\ndir ${dir}\n"
      "links $<TARGET_PROPERTY:${target},${prefix}LINK_LIBRARIES>\n"
      "sources $<TARGET_PROPERTY:${target},${prefix}SOURCES>\n")
  endforeach()
  file(GENERATE OUTPUT ${file} CONTENT "${content}")
endfunction()
