# What a Windows build adds to each program: the file name Windows users know
# (VELPRA.EXE, ...), a version resource and, for the front end, its icon, and
# a program that needs no DLL beyond Windows' own (the C and C++ runtimes and
# the threads library linked in).
include_guard(GLOBAL)

function(velpra_windows_program target)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 1 VR "" "FILE;DESCRIPTION;ICON" "")
  string(REGEX REPLACE "\\.[A-Za-z]+$" "" base "${VR_FILE}")
  set(VR_NAME ${base})
  set(VR_VERSION ${PROJECT_VERSION})
  set(VR_MAJOR ${PROJECT_VERSION_MAJOR})
  set(VR_MINOR ${PROJECT_VERSION_MINOR})
  if(VR_ICON)
    set(VR_ICON_LINE "1 ICON \"${VR_ICON}\"")
  else()
    set(VR_ICON_LINE "")
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${base} SUFFIX ".EXE")
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
endfunction()
