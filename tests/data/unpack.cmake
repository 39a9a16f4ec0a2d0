# Unpacks every FROM/*.osm.bz2 into TO/*.osm with BZIP2 (bzip2 -dc), unless TO holds it already
# from the same archive. Each file is written under a temporary name and renamed when complete,
# so a run that is cut short leaves no partial extract behind.
#
#   cmake -DBZIP2=/usr/bin/bzip2 -DFROM=tests/data -DTO=build/tests/data -P unpack.cmake
if(NOT BZIP2)
  message(FATAL_ERROR "bzip2 is needed to unpack the real extracts of ${FROM}; install it")
endif()
file(GLOB archives "${FROM}/*.osm.bz2")
if(NOT archives)
  message(FATAL_ERROR "no .osm.bz2 in ${FROM}")
endif()
file(MAKE_DIRECTORY "${TO}")
foreach(archive IN LISTS archives)
  get_filename_component(name "${archive}" NAME)
  string(REGEX REPLACE "\\.bz2$" "" name "${name}")
  set(plain "${TO}/${name}")
  if(EXISTS "${plain}" AND NOT "${archive}" IS_NEWER_THAN "${plain}")
    continue()
  endif()
  execute_process(COMMAND "${BZIP2}" -dc "${archive}" OUTPUT_FILE "${plain}.part"
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    file(REMOVE "${plain}.part")
    message(FATAL_ERROR "${BZIP2} -dc ${archive}: ${status}")
  endif()
  file(RENAME "${plain}.part" "${plain}")
  message(STATUS "unpacked ${plain}")
endforeach()
