# Each library of src/ exports its own headers only, and a library may link
# only the libraries of layers below its own. Include spellings stay
# "core/text.h": the build tree holds, for every layer, a folder with a single
# entry named after the layer that points at its source folder, and the
# layer's targets export that folder. A file can therefore include only the
# layers its target links; an include from a layer above fails to compile,
# and tests/layers checks the include lines themselves.

set(DALVEX_LAYER_INCLUDE_ROOT ${CMAKE_BINARY_DIR}/layer_include)

# Every target defined in `dir` or its subfolders.
function(dalvex_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    dalvex_targets_below(${sub} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# Adds src/<layer> of every layer in order. Qt's code generators are switched
# on from the Qt layer onwards (it, the programs, the tests and benchmarks),
# so the Qt-free libraries build without them.
macro(dalvex_add_layers)
  foreach(layer IN LISTS DALVEX_LAYERS)
    if(layer STREQUAL "gui")
      if(NOT DALVEX_BUILD_GUI)
        continue()
      endif()
      set(CMAKE_AUTOMOC ON)
      set(CMAKE_AUTORCC ON)
    endif()
    add_subdirectory(src/${layer})
  endforeach()
endmacro()

# Gives each layer's targets its include folder and refuses a link to a
# layer above. Call once, after every layer was added.
function(dalvex_seal_layers)
  set(index 0)
  foreach(layer IN LISTS DALVEX_LAYERS)
    if(NOT IS_DIRECTORY ${CMAKE_SOURCE_DIR}/src/${layer})
      message(FATAL_ERROR "DALVEX_LAYERS names '${layer}', but src/${layer} does not exist")
    endif()
    if(NOT TARGET dalvex_${layer} AND NOT layer STREQUAL "app" AND
       NOT (layer STREQUAL "gui" AND NOT DALVEX_BUILD_GUI))
      message(FATAL_ERROR "src/${layer} defines no library dalvex_${layer}")
    endif()
    set(root ${DALVEX_LAYER_INCLUDE_ROOT}/${layer})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${layer} ${root}/${layer} SYMBOLIC)
    if(layer STREQUAL "gui" AND NOT DALVEX_BUILD_GUI)
      math(EXPR index "${index} + 1")
      continue()
    endif()
    dalvex_targets_below(${CMAKE_SOURCE_DIR}/src/${layer} targets)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      if(type MATCHES "LIBRARY$")
        target_include_directories(${target} PUBLIC ${root})
      else()
        target_include_directories(${target} PRIVATE ${root})
      endif()
      set_property(TARGET ${target} PROPERTY DALVEX_LAYER_INDEX ${index})
      set_property(TARGET ${target} PROPERTY DALVEX_LAYER ${layer})
    endforeach()
    set_property(GLOBAL APPEND PROPERTY DALVEX_LAYER_TARGETS ${targets})
    math(EXPR index "${index} + 1")
  endforeach()

  get_property(all GLOBAL PROPERTY DALVEX_LAYER_TARGETS)
  foreach(target IN LISTS all)
    get_target_property(own ${target} DALVEX_LAYER_INDEX)
    get_target_property(own_name ${target} DALVEX_LAYER)
    get_target_property(links ${target} LINK_LIBRARIES)
    foreach(link IN LISTS links)
      if(TARGET ${link})
        get_target_property(other ${link} DALVEX_LAYER_INDEX)
        if(other AND other GREATER own)
          get_target_property(other_name ${link} DALVEX_LAYER)
          message(FATAL_ERROR "${target} (src/${own_name}) links ${link} of src/${other_name}, "
                              "a layer above it (see DALVEX_LAYERS in CMakeLists.txt)")
        endif()
      endif()
    endforeach()
  endforeach()
endfunction()
