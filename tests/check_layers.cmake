# Each folder includes only the folders below it; platform/, the bottom layer, also links
# nothing of theirs. Run with -DSOURCE_DIR=<the source tree>.
set(above "document|view|editing|households|forms|tablet|app")
set(platform_targets "tarvek_platform_core|tarvek_collation|tarvek_canvas|tarvek_vcl|tarvek_printer|tarvek_jpeg")
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

# The folders above platform/, lowest first; editing/ and tablet/ stand side by side.
set(rank_document 1)
set(rank_households 2)
set(rank_view 3)
set(rank_editing 4)
set(rank_tablet 4)
set(rank_forms 5)
set(rank_app 6)
# The state composes the sub-states of the folders above it, and a loaded part is told to
# the ledger through its exchange files.
set(allowed
  "document/drawing_state.h:households/"
  "document/drawing_state.h:editing/"
  "document/drawing_state.h:tablet/"
  "document/part_file.cpp:households/ledger_exchange.h")
foreach(folder document households view editing tablet forms app)
  file(GLOB files LIST_DIRECTORIES false "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp"
       "${SOURCE_DIR}/${folder}/*.inc")
  foreach(file IN LISTS files)
    file(RELATIVE_PATH name "${SOURCE_DIR}" "${file}")
    file(STRINGS "${file}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*\"(${above})/")
    foreach(hit IN LISTS hits)
      string(REGEX REPLACE "^[^\"]*\"([a-z]+)/([^\"]*)\".*$" "\\1" target "${hit}")
      string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${hit}")
      if(target STREQUAL folder OR rank_${target} LESS rank_${folder})
        continue()
      endif()
      set(ok FALSE)
      foreach(pair IN LISTS allowed)
        string(FIND "${name}:${header}" "${pair}" at)
        if(at EQUAL 0)
          set(ok TRUE)
        endif()
      endforeach()
      if(NOT ok)
        string(APPEND failures "\n  ${name}: ${hit}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "a folder depends on one above it:${failures}")
endif()
