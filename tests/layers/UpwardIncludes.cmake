# The include check of the build refuses an include that runs back up the
# layers, and passes the source as it is.
#   cmake -DSOURCE_DIR=<repository> -DWORK_DIR=<scratch folder> -P UpwardIncludes.cmake
cmake_minimum_required(VERSION 3.25)

function(check_copy expect_refusal expected_text)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${WORK_DIR} -P ${SOURCE_DIR}/cmake/CheckLayers.cmake
    RESULT_VARIABLE result ERROR_VARIABLE output OUTPUT_VARIABLE output_out)
  if(expect_refusal)
    if(result EQUAL 0)
      message(FATAL_ERROR "the check let through: ${expected_text}")
    endif()
    string(FIND "${output}" "${expected_text}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "the refusal does not name '${expected_text}':\n${output}")
    endif()
  elseif(NOT result EQUAL 0)
    message(FATAL_ERROR "the check refused the source as it is:\n${output}")
  endif()
endfunction()

# Each case: a file, the include added to it, and what the refusal must say.
set(cases
  "store/ContactRecord.h|compose/PrintCommand.h|src/store/ContactRecord.h: store includes compose/PrintCommand.h, a layer above it"
  "contacts/LineParser.cpp|contacts/widgets/ContactBrowser.h|src/contacts/LineParser.cpp: plain code includes the widgets header contacts/widgets/ContactBrowser.h"
  "list/widgets/ContactListWindow.cpp|exchange/widgets/ImportWindow.h|src/list/widgets/ContactListWindow.cpp: list/widgets includes exchange/widgets/ImportWindow.h, a layer above it"
  "windowkit/widgets/ShellCommands.cpp|appshell/widgets/ApplicationShell.h|src/windowkit/widgets/ShellCommands.cpp: windowkit/widgets includes appshell/widgets/ApplicationShell.h, a layer above it"
  "print/PrintJob.cpp|sheets/LabelSheet.h|src/print/PrintJob.cpp: print includes sheets/LabelSheet.h, a layer above it")

file(REMOVE_RECURSE ${WORK_DIR})
file(COPY ${SOURCE_DIR}/src DESTINATION ${WORK_DIR})
check_copy(FALSE "")
foreach(c ${cases})
  string(REPLACE "|" ";" parts "${c}")
  list(GET parts 0 source)
  list(GET parts 1 header)
  list(GET parts 2 expected)
  file(READ ${WORK_DIR}/src/${source} original)
  file(APPEND ${WORK_DIR}/src/${source} "\n#include \"${header}\"\n")
  check_copy(TRUE "${expected}")
  file(WRITE ${WORK_DIR}/src/${source} "${original}")
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
