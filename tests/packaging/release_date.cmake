# The packages' release date (packaging/ReleaseDate.cmake) from the source it is built from:
# SOURCE_DATE_EPOCH first, else the last commit of the tree's own git history, else the fixed
# date, never the day of the build.
#
#   cmake -DMODULE=<ReleaseDate.cmake> -DWORK=<scratch folder> -P release_date.cmake
#
# Each case runs in a cmake of its own (a bad SOURCE_DATE_EPOCH must stop it).
if(DEFINED SOURCE)
    include(${MODULE})
    tavlo_release_date(${SOURCE} day changelog)
    message("${day}|${changelog}")
    return()
endif()

find_package(Git REQUIRED)
file(REMOVE_RECURSE ${WORK})
# A checkout whose last commit is 2024-02-29 12:00 UTC, and a tarball unpacked inside it.
set(checkout ${WORK}/checkout)
file(MAKE_DIRECTORY ${checkout}/tarball)
file(WRITE ${checkout}/file "x\n")
set(git ${CMAKE_COMMAND} -E env GIT_AUTHOR_NAME=t GIT_AUTHOR_EMAIL=t@t GIT_COMMITTER_NAME=t
    GIT_COMMITTER_EMAIL=t@t GIT_AUTHOR_DATE=2024-02-29T12:00:00Z GIT_COMMITTER_DATE=2024-02-29T12:00:00Z
    ${GIT_EXECUTABLE} -C ${checkout})
execute_process(COMMAND ${git} init -q COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${git} add file COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${git} commit -q -m one COMMAND_ERROR_IS_FATAL ANY)
file(MAKE_DIRECTORY ${WORK}/empty-checkout/.git) # a .git that git does not take

# name | SOURCE_DATE_EPOCH ("-": unset) | source | expected output ("FAIL": the run fails)
set(cases
    "epoch|86400|${checkout}|1970-01-02|Fri, 02 Jan 1970 00:00:00 +0000"
    "epoch wins over git|1700000000|${checkout}|2023-11-14|Tue, 14 Nov 2023 22:13:20 +0000"
    "last commit|-|${checkout}|2024-02-29|Thu, 29 Feb 2024 12:00:00 +0000"
    "tarball inside a checkout|-|${checkout}/tarball|2026-01-01|Thu, 01 Jan 2026 00:00:00 +0000"
    "broken git folder|-|${WORK}/empty-checkout|2026-01-01|Thu, 01 Jan 2026 00:00:00 +0000"
    "epoch not a number|yesterday|${checkout}|FAIL"
    "empty epoch as unset|-empty|${checkout}|2024-02-29|Thu, 29 Feb 2024 12:00:00 +0000")
set(failures 0)
foreach(case IN LISTS cases)
    string(REPLACE "|" ";" fields "${case}")
    list(GET fields 0 name)
    list(GET fields 1 epoch)
    list(GET fields 2 source)
    list(SUBLIST fields 3 -1 expected)
    string(REPLACE ";" "|" expected "${expected}")
    if(epoch STREQUAL "-")
        set(env ${CMAKE_COMMAND} -E env --unset=SOURCE_DATE_EPOCH)
    elseif(epoch STREQUAL "-empty")
        set(env ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=)
    else()
        set(env ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${epoch})
    endif()
    execute_process(COMMAND ${env} ${CMAKE_COMMAND} -DMODULE=${MODULE} -DSOURCE=${source} -P ${CMAKE_CURRENT_LIST_FILE}
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    string(STRIP "${out}" out)
    if(expected STREQUAL "FAIL")
        if(result EQUAL 0)
            message(SEND_ERROR "${name}: accepted, gave \"${out}\"")
            math(EXPR failures "${failures} + 1")
        endif()
    elseif(NOT result EQUAL 0 OR NOT out STREQUAL expected)
        message(SEND_ERROR "${name}: \"${out}\" (exit ${result}), expected \"${expected}\"")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()
list(LENGTH cases count)
message("release date: ${failures} of ${count} cases failed")
