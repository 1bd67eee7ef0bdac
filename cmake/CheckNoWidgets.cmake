# cmake -DPROGRAM=<path> -P CheckNoWidgets.cmake: fails when the program loads QtWidgets or QtPrintSupport.
execute_process(COMMAND ldd ${PROGRAM} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "ldd failed on ${PROGRAM}")
endif()
if(out MATCHES "libQt6(Widgets|PrintSupport)")
  message(FATAL_ERROR "${PROGRAM} links ${CMAKE_MATCH_0}; the command-line tool must stay free of widgets")
endif()
message(STATUS "${PROGRAM} links no widgets")
