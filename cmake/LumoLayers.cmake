# The plug-in is built as one static library per layer. A layer names the
# layers it builds on; its sources then see, on their include path, only its
# own folder and the folders of those layers (and of theirs, downward). An
# include of a folder above it fails to compile, so the build itself keeps the
# layers pointing one way.
#
#   lumo_layer(<name> FOLDER <folder> [USES <layer>...] SOURCES <file>...)
#
# The shipped module and lumo_core (what tests and tools link) take every
# layer in LUMO_LAYERS.

set(LUMO_LAYER_ROOT ${CMAKE_BINARY_DIR}/layers)

# Puts a link <view>/<folder> -> <source>/<folder> into a layer's include view.
function(_lumo_view_link view folder)
  get_filename_component(parent ${view}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT EXISTS ${view}/${folder})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${view}/${folder} SYMBOLIC)
  endif()
endfunction()

function(lumo_layer name)
  cmake_parse_arguments(L "" "FOLDER" "USES;SOURCES" ${ARGN})
  set(target lumo_${name})
  add_library(${target} STATIC ${L_SOURCES})
  lumo_plugin_flags(${target})
  # Every folder this layer may reach: its own and, transitively, its uses'.
  set(folders ${L_FOLDER})
  foreach(used IN LISTS L_USES)
    get_property(more GLOBAL PROPERTY LUMO_LAYER_FOLDERS_${used})
    if(NOT more)
      message(FATAL_ERROR "layer ${name} uses ${used}, which is not declared before it")
    endif()
    list(APPEND folders ${more})
    target_link_libraries(${target} PRIVATE lumo_${used})
  endforeach()
  list(REMOVE_DUPLICATES folders)
  set_property(GLOBAL PROPERTY LUMO_LAYER_FOLDERS_${name} ${folders})
  set(view ${LUMO_LAYER_ROOT}/${name})
  file(REMOVE_RECURSE ${view})
  # res/ holds only the resource ids that code, templates and the substitute
  # host share: every layer may see it.
  foreach(folder IN LISTS folders ITEMS res)
    _lumo_view_link(${view} ${folder})
  endforeach()
  target_include_directories(${target} PRIVATE ${view})
  set_property(GLOBAL APPEND PROPERTY LUMO_LAYERS ${target})
endfunction()
