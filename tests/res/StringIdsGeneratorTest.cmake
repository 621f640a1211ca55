# Runs the writer of res/StringIds.h on small tables:
#   cmake -DGENERATOR=res/StringIds.cmake -DWORK=<scratch folder> -P StringIdsGeneratorTest.cmake
# A table the binary search could not serve, or a name given twice, must stop
# the build with a message naming the entry, and leave no header behind.
cmake_minimum_required(VERSION 3.25)

set(failures 0)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# run(<table text> <result var> <output var>): the generator's exit code and messages.
function(run table result_var output_var)
  file(WRITE "${WORK}/table.inc" "${table}")
  file(REMOVE "${WORK}/StringIds.h")
  execute_process(COMMAND ${CMAKE_COMMAND} -DTABLE=${WORK}/table.inc -DOUTPUT=${WORK}/StringIds.h -P ${GENERATOR}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${result_var} "${result}" PARENT_SCOPE)
  # CMake wraps long messages: compare them with the line breaks undone.
  string(REGEX REPLACE "[ \n]+" " " text "${out}${err}")
  set(${output_var} "${text}" PARENT_SCOPE)
endfunction()

macro(fail text)
  message(SEND_ERROR "${text}")
  math(EXPR failures "${failures} + 1")
endmacro()

# A good table: unnamed entries are left out, texts may hold what CMake lists
# split on (semicolons, brackets) and what looks like an entry.
set(good [=[// A comment: RES_STRING_NAMED(1, IDS_IN_COMMENT, "no", nullptr)
RES_STRING(129, "\nD390\n; [x", nullptr)
RES_STRING_NAMED(61447, IDS_DEFAULT, "Default; [", nullptr)
RES_STRING(61448, "RES_STRING_NAMED(61449, IDS_FAKE, \"x\", nullptr)", nullptr)
RES_STRING_NAMED(61900, IDS_CONNECT_CAPTION, "Connect", "连接")
]=])
run("${good}" result output)
if(NOT result EQUAL 0)
  fail("a good table was refused: ${output}")
else()
  file(READ "${WORK}/StringIds.h" header)
  string(REGEX MATCHALL "inline constexpr unsigned [A-Z0-9_]+ = [0-9]+;" declarations "${header}")
  set(expected "inline constexpr unsigned IDS_DEFAULT = 61447;;inline constexpr unsigned IDS_CONNECT_CAPTION = 61900;")
  if(NOT declarations STREQUAL expected)
    fail("a good table gave: ${declarations}")
  endif()
  if(NOT header MATCHES "#pragma once")
    fail("the header is not guarded")
  endif()
endif()

# Bad tables: each must fail with its message.
set(cases
  "out of order|RES_STRING(61448, \"b\", nullptr)\nRES_STRING(61447, \"a\", nullptr)\n|id 61447 follows 61448"
  "id twice|RES_STRING(61447, \"a\", nullptr)\nRES_STRING_NAMED(61447, IDS_A, \"b\", nullptr)\n|id 61447 follows 61447"
  "name twice|RES_STRING_NAMED(1, IDS_A, \"a\", nullptr)\nRES_STRING_NAMED(2, IDS_A, \"b\", nullptr)\n|IDS_A is given twice"
  "lower-case name|RES_STRING_NAMED(1, IDS_a, \"a\", nullptr)\n|IDS_a must be IDS_"
  "name without IDS_|RES_STRING_NAMED(1, TEXT_A, \"a\", nullptr)\n|TEXT_A must be IDS_"
  "named entry without a name|RES_STRING_NAMED(1, \"a\", nullptr)\n|not a string table entry: RES_STRING_NAMED\\(1, \"a\""
  "unknown macro|RES_TEXT(1, \"a\", nullptr)\n|not a string table entry: RES_TEXT"
)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 name)
  list(GET parts 1 table)
  list(GET parts 2 message)
  string(REPLACE "\\n" "\n" table "${table}")
  run("${table}" result output)
  if(result EQUAL 0)
    fail("${name}: the table was taken")
  elseif(NOT output MATCHES "${message}")
    fail("${name}: expected \"${message}\", got: ${output}")
  endif()
  if(EXISTS "${WORK}/StringIds.h")
    fail("${name}: a header was written")
  endif()
endforeach()

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} check(s) failed")
endif()
