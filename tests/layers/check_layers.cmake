# Fails when a file includes from a folder above its own, in quotes or in angle brackets (the
# build refuses those too: a layer's include path holds only the folders below it, see
# src/CMakeLists.txt). The program is a one-way stack:
#
#   main  <-  gui  <-  workflow  <-  editors  <-  gpx, survey, dialogs  <-  app  <-  input, osm
#   input  <-  osm, platform
#   workflow  <-  navigator  <-  gpi, dialogs;  gpi  <-  osm, platform
#
# (editors build on gpx only; the workflow on all five.) messages/, every text the program says
# to its user, and platform/, the machine, are the bottom: every folder but platform/ may
# include messages/, and platform/ includes nothing of the program (its failures are the
# system's descriptions, like "No such file or directory").
# platform/headless and platform/qt are the two platforms; only the views (gui) and main.cpp
# see the Qt one. cli/ and bench/ drive the core through the headless platform.
#
#   cmake -DROOT=<project folder> -P check_layers.cmake
cmake_minimum_required(VERSION 3.25)
set(layers messages osm platform platform/headless platform/qt input app survey gpx gpi dialogs
    editors navigator workflow gui cli bench)
set(core_below_workflow workflow survey gpx gpi dialogs editors navigator app input osm platform
    platform/headless messages)
set(allowed_messages messages)
set(allowed_osm osm messages)
set(allowed_platform platform)
set(allowed_platform/headless platform/headless platform)
set(allowed_platform/qt platform/qt platform)
set(allowed_input input osm platform messages)
set(allowed_gpi gpi osm platform messages)
set(allowed_app app input osm platform messages)
set(allowed_survey survey app input osm platform messages)
set(allowed_gpx gpx app input osm platform messages)
set(allowed_dialogs dialogs app input osm platform messages)
set(allowed_editors editors gpx app input osm platform messages)
set(allowed_navigator navigator gpi dialogs app input osm platform messages)
set(allowed_workflow ${core_below_workflow})
set(allowed_gui gui platform/qt ${core_below_workflow})
set(allowed_cli cli ${core_below_workflow})
set(allowed_bench bench ${core_below_workflow})

# The folder a path below src/ (or the project) belongs to.
function(layer_of path out)
  if(path MATCHES "^platform/(qt|headless)/")
    set(${out} "platform/${CMAKE_MATCH_1}" PARENT_SCOPE)
  elseif(path MATCHES "^([^/]+)/")
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

set(violations "")
foreach(base src cli bench)
  file(GLOB_RECURSE files RELATIVE "${ROOT}/${base}" "${ROOT}/${base}/*.cpp" "${ROOT}/${base}/*.h")
  foreach(file IN LISTS files)
    if(base STREQUAL "src")
      layer_of("${file}" layer)
      if(layer STREQUAL "")  # main.cpp puts the program together from every layer
        continue()
      endif()
    else()
      set(layer ${base})
    endif()
    file(STRINGS "${ROOT}/${base}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*" "\\1" included "${line}")
      layer_of("${included}" target)
      if(target STREQUAL "" OR target IN_LIST allowed_${layer})
        continue()
      endif()
      # In angle brackets, a folder that is not one of the program's is a library's (<osmium/...>).
      if(line MATCHES "<" AND NOT target IN_LIST layers)
        continue()
      endif()
      list(APPEND violations "${base}/${file} (${layer}) includes ${included} (${target})")
    endforeach()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "Includes that point up the stack:\n  ${text}")
endif()
message(STATUS "Every include points down.")
