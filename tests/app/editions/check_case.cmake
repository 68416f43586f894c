# Configures the project beside this script afresh for one case and checks the outcome:
#   cmake -DCASE=name -DEXPECT=refused|accepted [-DMESSAGE=text] -DBINARY=folder
#         -DGENERATOR=generator -DCXX=compiler -DTAVLO_SOURCE_DIR=tree -P check_case.cmake
# A refusal must fail the configuration with MESSAGE in its error (line breaks and the
# indentation of CMake's error text read as single blanks); an acceptance must configure and
# generate.
file(REMOVE_RECURSE "${BINARY}")
execute_process(
    COMMAND "${CMAKE_COMMAND}" -S "${CMAKE_CURRENT_LIST_DIR}" -B "${BINARY}" -G "${GENERATOR}"
            "-DCMAKE_CXX_COMPILER=${CXX}" "-DCASE=${CASE}" "-DTAVLO_SOURCE_DIR=${TAVLO_SOURCE_DIR}"
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE errors)
string(REGEX REPLACE "\n *" " " errors "${errors}")

if(EXPECT STREQUAL "refused")
    if(result EQUAL 0)
        message(FATAL_ERROR "${CASE}: configured although a target links both editions")
    endif()
    string(FIND "${errors}" "${MESSAGE}" at)
    if(at LESS 0)
        message(FATAL_ERROR "${CASE}: refused, but without \"${MESSAGE}\":\n${errors}")
    endif()
elseif(EXPECT STREQUAL "accepted")
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${CASE}: refused although no target links both editions:\n${errors}")
    endif()
else()
    message(FATAL_ERROR "EXPECT is refused or accepted, not \"${EXPECT}\"")
endif()
message(STATUS "${CASE}: ${EXPECT}")
