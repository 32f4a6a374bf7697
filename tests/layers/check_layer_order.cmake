# Fails when a file of a layer includes a header of a layer above it, or when
# a folder of src/ is missing from the layer list.
#   cmake -DSOURCE_DIR=<folder holding src/> -DLAYERS=core,numeric,... -P check_layer_order.cmake
# Includes are read as written: "layer/file.h" and <layer/file.h> by their
# first folder, relative ones ("../layer/file.h") by where they lead.
cmake_minimum_required(VERSION 3.22)

string(REPLACE "," ";" layers "${LAYERS}")
set(src ${SOURCE_DIR}/src)
set(faults "")

file(GLOB folders LIST_DIRECTORIES true RELATIVE ${src} ${src}/*)
foreach(folder IN LISTS folders)
  if(IS_DIRECTORY ${src}/${folder} AND NOT folder IN_LIST layers)
    list(APPEND faults "src/${folder} is not in the layer list (DALVEX_LAYERS in CMakeLists.txt)")
  endif()
endforeach()

set(include_line "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
foreach(layer IN LISTS layers)
  list(FIND layers ${layer} own)
  file(GLOB_RECURSE files RELATIVE ${src} ${src}/${layer}/*.h ${src}/${layer}/*.hpp
       ${src}/${layer}/*.cpp ${src}/${layer}/*.inc)
  foreach(file IN LISTS files)
    file(STRINGS ${src}/${file} lines REGEX "${include_line}")
    foreach(line IN LISTS lines)
      string(REGEX MATCH "${include_line}" _ "${line}")
      set(header "${CMAKE_MATCH_1}")
      # A relative include counts by the folder it reaches from the file.
      if(header MATCHES "^\\.\\.?/")
        get_filename_component(dir ${src}/${file} DIRECTORY)
        cmake_path(SET reached NORMALIZE "${dir}/${header}")
        cmake_path(RELATIVE_PATH reached BASE_DIRECTORY ${src} OUTPUT_VARIABLE header)
      endif()
      string(REGEX MATCH "^[^/]+" target "${header}")
      list(FIND layers "${target}" other)
      if(other GREATER own)
        list(APPEND faults "src/${file}: includes \"${header}\" of src/${target}, a layer above src/${layer}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "Layer order broken:\n${text}")
endif()
list(LENGTH layers count)
message(STATUS "Layer order kept by every file of the ${count} layers")
