# Writes the string ids header from the string table:
#   cmake -DTABLE=StringTable.inc -DOUTPUT=.../res/StringIds.h -P StringIds.cmake
# The table is the only place an id is written down; this turns every
# RES_STRING_NAMED entry into a constant. It refuses a table the lookup could
# not serve (ids out of order or repeated) and a name given twice, so a slip
# stops the build instead of showing the wrong text.
cmake_minimum_required(VERSION 3.25)

if(NOT TABLE OR NOT OUTPUT)
  message(FATAL_ERROR "StringIds.cmake needs -DTABLE=<string table> and -DOUTPUT=<header>")
endif()

file(READ "${TABLE}" table)
# Only the head of each entry is read (id and name): the texts may hold
# semicolons and brackets, which CMake lists would split on.
set(table "\n${table}")
string(REGEX MATCHALL "\nRES_[A-Z_]*" entry_starts "${table}")
string(REGEX MATCHALL "\nRES_STRING(_NAMED\\([0-9]+, [A-Za-z0-9_]+, \"|\\([0-9]+, \")" heads "${table}")
list(LENGTH entry_starts entry_count)
list(LENGTH heads head_count)
if(NOT entry_count EQUAL head_count)
  # Find the first line that is neither RES_STRING(id, "…" nor RES_STRING_NAMED(id, NAME, "….
  string(REPLACE ";" "," scan "${table}")
  string(REPLACE "\n" ";" scan "${scan}")
  foreach(line IN LISTS scan)
    if(line MATCHES "^RES_" AND NOT line MATCHES "^RES_STRING(_NAMED\\([0-9]+, [A-Za-z0-9_]+, \"|\\([0-9]+, \")")
      message(FATAL_ERROR "${TABLE}: not a string table entry: ${line}")
    endif()
  endforeach()
  message(FATAL_ERROR "${TABLE}: ${entry_count} entries, ${head_count} readable")
endif()

set(body "")
set(names "")
set(previous_id -1)
foreach(head IN LISTS heads)
  if(head MATCHES "^\nRES_STRING_NAMED\\(([0-9]+), ([A-Za-z0-9_]+),")
    set(id ${CMAKE_MATCH_1})
    set(name ${CMAKE_MATCH_2})
  elseif(head MATCHES "^\nRES_STRING\\(([0-9]+),")
    set(id ${CMAKE_MATCH_1})
    set(name "")
  endif()
  if(id LESS_EQUAL previous_id)
    message(FATAL_ERROR "${TABLE}: id ${id} follows ${previous_id}: the table must be sorted by id, each id once")
  endif()
  set(previous_id ${id})
  if(name STREQUAL "")
    continue()
  endif()
  if(NOT name MATCHES "^IDS_[A-Z0-9_]+$")
    message(FATAL_ERROR "${TABLE}: id ${id}: the name ${name} must be IDS_ and upper-case words")
  endif()
  if(name IN_LIST names)
    message(FATAL_ERROR "${TABLE}: id ${id}: the name ${name} is given twice")
  endif()
  list(APPEND names ${name})
  string(APPEND body "inline constexpr unsigned ${name} = ${id};\n")
endforeach()

set(header "// Written by the build from res/StringTable.inc (res/StringIds.cmake): edit the table, not this file.
#pragma once

${body}")

# Written only when it changes, so a new text without a new name rebuilds
# nothing but the resource module.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" current)
  if(current STREQUAL header)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${header}")
