# Refuses an include that runs back up the layers of cmake/Layers.cmake.
#
#   cmake -DSOURCE_DIR=<folder holding src/> [-DSTAMP=<file>] -P cmake/CheckLayers.cmake
#
# A folder's rank is its layer's place, a widgets/ folder standing just above
# the plain code of its layer. A file may include headers of its own rank or
# below; plain code never includes a widgets/ header. Folders of src/app/ are
# the programs: they may include anything, and app/batch no widgets.
# Every refusal is listed, then the script fails; on success it touches STAMP.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "CheckLayers: SOURCE_DIR is not set")
endif()
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)

# rank and whether widgets are allowed, for a folder relative to src/
function(layer_of folder out_rank out_widgets)
  string(REPLACE "/" ";" parts "${folder}")
  list(GET parts 0 top)
  list(FIND TANDOR_LAYERS "${top}" index)
  if(index LESS 0)
    set(${out_rank} -1 PARENT_SCOPE)
    return()
  endif()
  math(EXPR rank "${index} * 2")
  set(widgets FALSE)
  if(folder MATCHES "(^|/)widgets$")
    math(EXPR rank "${rank} + 1")
    set(widgets TRUE)
  endif()
  if(top STREQUAL "app")
    math(EXPR rank "${index} * 2 + 1")
    if(NOT folder STREQUAL "app/batch")
      set(widgets TRUE)
    endif()
  endif()
  set(${out_rank} ${rank} PARENT_SCOPE)
  set(${out_widgets} ${widgets} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
set(refusals "")
foreach(source ${sources})
  get_filename_component(folder "${source}" DIRECTORY)
  layer_of("${folder}" rank widgets_allowed)
  if(rank LESS 0)
    string(APPEND refusals "  src/${source}: the folder ${folder} is in no layer of cmake/Layers.cmake\n")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/src/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([^\"]+)\".*$" "\\1" header "${line}")
    get_filename_component(target_folder "${header}" DIRECTORY)
    if(target_folder STREQUAL "" OR target_folder STREQUAL folder)
      continue()
    endif()
    if(folder MATCHES "^app" AND target_folder MATCHES "^(batch|docs)$")
      continue()  # the programs' own folders, named from src/app/
    endif()
    layer_of("${target_folder}" target_rank target_is_widgets)
    if(target_rank LESS 0)
      continue()  # not a folder of src/ (a generated or system header)
    endif()
    if(target_folder MATCHES "(^|/)widgets$" AND NOT widgets_allowed)
      string(APPEND refusals "  src/${source}: plain code includes the widgets header ${header}\n")
    elseif(target_rank GREATER rank)
      string(APPEND refusals "  src/${source}: ${folder} includes ${header}, a layer above it\n")
    endif()
  endforeach()
endforeach()

if(refusals)
  message(FATAL_ERROR "Includes that run back up the layers (cmake/Layers.cmake):\n${refusals}")
endif()
if(STAMP)
  file(TOUCH ${STAMP})
endif()
