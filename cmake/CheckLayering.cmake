# The layers' rule: the window (LAYER_DIR) never includes a header of the
# command line (FORBIDDEN_DIR); what both need lies in the output library.
# Run as a script (cmake -DLAYER_DIR=... -DFORBIDDEN_DIR=... -P) or
# included with both variables set; either way it fails naming each
# offending line.
cmake_minimum_required(VERSION 3.25)
file(GLOB forbidden_headers RELATIVE ${FORBIDDEN_DIR} ${FORBIDDEN_DIR}/*.h)
file(GLOB_RECURSE layer_sources ${LAYER_DIR}/*.h ${LAYER_DIR}/*.cpp)
set(offences "")
foreach(source IN LISTS layer_sources)
  file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*" "\\1" header "${line}")
    get_filename_component(header_name ${header} NAME)
    if(header_name IN_LIST forbidden_headers)
      string(APPEND offences "\n  ${source}: ${line}")
    endif()
  endforeach()
endforeach()
if(offences)
  message(FATAL_ERROR "${LAYER_DIR} includes the command line's headers from ${FORBIDDEN_DIR}:"
    "${offences}")
endif()
