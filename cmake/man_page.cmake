# Makes the manual page KorvanRef(1) from the tool's own --help and --version
# with help2man, adding the sections kept in packaging/KorvanRef.h2m, so that
# the page and --help cannot drift apart. Run as a script:
#   cmake -DHELP2MAN=... -DTOOL=... -DINCLUDE=... -DOUTPUT=... -P man_page.cmake
# An option the tool has but its --help does not name is described here.
execute_process(COMMAND "${TOOL}" --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${TOOL} --help ended with status ${status}")
endif()

set(unnamed_options "")
if(NOT help MATCHES "--help")
  string(APPEND unnamed_options
         ".TP\n\\fB\\-h\\fR, \\fB\\-\\-help\\fR\n"
         "print the usage line and a summary of what the tool does, then exit\n")
endif()
if(NOT help MATCHES "--version")
  string(APPEND unnamed_options
         ".TP\n\\fB\\-\\-version\\fR\nprint the name and version of the tool, then exit\n")
endif()

set(includes -i "${INCLUDE}")
if(unnamed_options)
  file(WRITE "${OUTPUT}.options.h2m" "[<OPTIONS]\n${unnamed_options}")
  list(APPEND includes -i "${OUTPUT}.options.h2m")
endif()

execute_process(
  COMMAND "${HELP2MAN}" --no-info --section=1 ${includes} --output=${OUTPUT}.new "${TOOL}"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "help2man failed on ${TOOL}")
endif()
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
