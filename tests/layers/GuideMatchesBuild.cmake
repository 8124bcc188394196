# The developers' guide says what the build has: its layer table is the one
# scripts/layers-table.sh writes from cmake/Layers.cmake and the folders of
# src/, and its test table (section "The tests") names every test ctest runs
# and nothing else. A test is named by its program when the program is
# test_<test> (`test_store` runs the test `store`), else by its own name
# (`sync_kill`, `layers`). Then each check must refuse a copy of the guide
# with one layer, or one test, left out.
#   cmake -DSOURCE_DIR=<repository> -DBUILD_DIR=<build folder> -DCTEST=<ctest>
#         -DWORK_DIR=<scratch folder> -P GuideMatchesBuild.cmake
cmake_minimum_required(VERSION 3.25)

set(guide ${SOURCE_DIR}/docs/developers-guide.md)

# Runs the layer table's check on a guide; `result` 0 when it holds, `output` its message.
function(check_layer_table file result output)
  execute_process(
    COMMAND bash ${SOURCE_DIR}/scripts/layers-table.sh --check ${file}
    RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE out)
  set(${result} ${code} PARENT_SCOPE)
  set(${output} "${out}" PARENT_SCOPE)
endfunction()

# The names in the first column of the test table of the guide's text.
function(guide_test_names text out)
  # Brackets and semicolons would join the lines of a CMake list.
  string(REGEX REPLACE "[][;]" "," text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(inside FALSE)
  set(names "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^## The tests")
      set(inside TRUE)
    elseif(inside AND line MATCHES "^#")
      break()
    elseif(inside AND line MATCHES "^\\| *(`[^|]*)\\|")
      string(REGEX MATCHALL "`[^`]+`" cell "${CMAKE_MATCH_1}")
      foreach(name IN LISTS cell)
        string(REPLACE "`" "" name "${name}")
        list(APPEND names "${name}")
      endforeach()
    endif()
  endforeach()
  set(${out} "${names}" PARENT_SCOPE)
endfunction()

# The tests ctest runs in the build, each by the name the guide gives it.
execute_process(
  COMMAND ${CTEST} --show-only=json-v1
  WORKING_DIRECTORY ${BUILD_DIR}
  RESULT_VARIABLE code OUTPUT_VARIABLE json ERROR_VARIABLE error)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "ctest could not list the tests of ${BUILD_DIR}:\n${error}")
endif()
string(JSON count LENGTH "${json}" tests)
set(build_names "")
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
  string(JSON name GET "${json}" tests ${i} name)
  # ctest leaves out the command of a test whose program is not built yet.
  string(JSON program ERROR_VARIABLE no_command GET "${json}" tests ${i} command 0)
  if(no_command)
    message(FATAL_ERROR "ctest does not know the program of the test ${name}: build the tests first")
  endif()
  get_filename_component(program "${program}" NAME_WE)
  if(program STREQUAL "test_${name}")
    list(APPEND build_names ${program})
  else()
    list(APPEND build_names ${name})
  endif()
endforeach()
if(build_names STREQUAL "")
  message(FATAL_ERROR "ctest lists no test in ${BUILD_DIR}")
endif()

# What differs between the guide's test table and the build, in words; empty when nothing.
function(test_table_problems text out)
  guide_test_names("${text}" named)
  set(missing ${build_names})
  set(extra ${named})
  if(named)
    list(REMOVE_ITEM missing ${named})
    list(REMOVE_ITEM extra ${build_names})
  endif()
  set(problems "")
  if(missing)
    list(JOIN missing ", " missing)
    string(APPEND problems "  tests the build runs that the guide's test table does not name: ${missing}\n")
  endif()
  if(extra)
    list(JOIN extra ", " extra)
    string(APPEND problems "  names in the guide's test table that are no test of the build: ${extra}\n")
  endif()
  set(${out} "${problems}" PARENT_SCOPE)
endfunction()

# The guide as it is.
check_layer_table(${guide} result output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${output}")
endif()
file(READ ${guide} text)
test_table_problems("${text}" problems)
if(problems)
  message(FATAL_ERROR "The tests of docs/developers-guide.md (section \"The tests\") differ from the build:\n${problems}")
endif()

# A copy without the row of the first layer must be refused, naming that layer.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(COMMAND bash ${SOURCE_DIR}/scripts/layers-table.sh --list OUTPUT_VARIABLE layers)
string(REGEX MATCH "^[^\n]+" layer "${layers}")
string(REGEX MATCH "\n\\| `${layer}` \\|[^\n]*" layer_row "${text}")
if(layer_row STREQUAL "")
  message(FATAL_ERROR "the guide has no row for the layer ${layer}")
endif()
string(REPLACE "${layer_row}" "" without_layer "${text}")
file(WRITE ${WORK_DIR}/without-layer.md "${without_layer}")
check_layer_table(${WORK_DIR}/without-layer.md result output)
string(FIND "${output}" "| `${layer}` |" at)
if(result EQUAL 0 OR at EQUAL -1)
  message(FATAL_ERROR "the layer check let through a guide without the layer ${layer}:\n${output}")
endif()

# A copy without the first row of its test table must be refused, naming that test.
list(GET build_names 0 test)
string(REGEX MATCH "\n\\| `${test}` \\|[^\n]*" test_row "${text}")
string(REPLACE "${test_row}" "" without_test "${text}")
test_table_problems("${without_test}" problems)
string(FIND "${problems}" "does not name: ${test}" at)
if(test_row STREQUAL "" OR at EQUAL -1)
  message(FATAL_ERROR "the test check let through a guide without the test ${test}:\n${problems}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
