# Fails when the renamer binds at load one of the libraries it should bind on first use (a
# function of it missing from cmake/delay_load/<library>.def).
#   -DOBJDUMP=<objdump> -DPROGRAM=<korvalith.exe> -DLATER=<library;library...>
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${PROGRAM} failed: ${result}")
endif()
string(TOLOWER "${dump}" dump)
string(REGEX MATCHALL "dll name: [^\n]+" loaded "${dump}")
if(NOT loaded)
  message(FATAL_ERROR "no import table read from ${PROGRAM}")
endif()
foreach(library IN LISTS LATER)
  if("dll name: ${library}.dll" IN_LIST loaded)
    message(FATAL_ERROR "${PROGRAM} loads ${library}.dll at its start: add the functions it calls to "
                        "cmake/delay_load/${library}.def")
  endif()
endforeach()
