# platform/ is the bottom layer: no file in it includes a header of the folders built on it,
# and no platform library links one of theirs. Run with -DSOURCE_DIR=<the source tree>.
set(above "document|view|editing|households|forms|tablet|app")
set(platform_targets "tarvek_platform_core|tarvek_canvas|tarvek_vcl|tarvek_printer")
set(upper_targets "tarvek_(document|view|editing|forms|tablet_core|app|fuzz_invariants)")

set(failures "")
file(GLOB platform_files LIST_DIRECTORIES false "${SOURCE_DIR}/platform/*")
foreach(file IN LISTS platform_files)
  file(STRINGS "${file}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<](${above})/")
  foreach(hit IN LISTS hits)
    string(APPEND failures "\n  ${file}: ${hit}")
  endforeach()
  if(file MATCHES "\\.cmake$")
    file(STRINGS "${file}" hits REGEX "${upper_targets}|\\.\\./(${above})/")
    foreach(hit IN LISTS hits)
      string(APPEND failures "\n  ${file}: ${hit}")
    endforeach()
  endif()
endforeach()

# The platform libraries the root list makes or links.
file(READ "${SOURCE_DIR}/CMakeLists.txt" root)
string(REGEX MATCHALL "target_link_libraries\\((${platform_targets})[ \t\r\n][^)]*\\)" links "${root}")
foreach(link IN LISTS links)
  if(link MATCHES "${upper_targets}")
    string(APPEND failures "\n  CMakeLists.txt: ${link}")
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "platform/ depends on a folder above it:${failures}")
endif()
