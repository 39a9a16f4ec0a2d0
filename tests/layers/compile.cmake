# Compiles each .cpp file of FOLDER (syntax only) with COMPILER on the include folders
# INCLUDES, a layer's include path. Without MISSING, each must build; with MISSING, each must
# fail because that header is not found on the path, and for no other reason.
#
#   cmake -DCOMPILER=<c++> -DINCLUDES=<folders> -DFOLDER=<folder> [-DMISSING=<header>] -P compile.cmake
cmake_minimum_required(VERSION 3.25)
set(flags -std=c++20 -fsyntax-only)
foreach(folder IN LISTS INCLUDES)
  list(APPEND flags -I${folder})
endforeach()

file(GLOB sources ${FOLDER}/*.cpp)
if(NOT sources)
  message(FATAL_ERROR "${FOLDER} holds no .cpp file")
endif()
foreach(source IN LISTS sources)
  execute_process(COMMAND ${COMPILER} ${flags} ${source}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT MISSING)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "${source} does not build:\n${output}")
    endif()
    message(STATUS "${source} builds.")
    continue()
  endif()
  string(REPLACE "." "\\." missing "${MISSING}")
  # GCC: "fatal error: a/b.h: No such file or directory"; clang: "fatal error: 'a/b.h' file not found".
  if(result EQUAL 0)
    message(FATAL_ERROR "${source} builds although ${MISSING} is above its layer.")
  elseif(NOT output MATCHES "fatal error: '?${missing}'?(: No such file| file not found)")
    message(FATAL_ERROR "${source} fails, but not for want of ${MISSING}:\n${output}")
  endif()
  message(STATUS "${source} does not build: ${MISSING} is not on its include path.")
endforeach()
