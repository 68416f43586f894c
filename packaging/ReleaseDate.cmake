# The release's date, the same on every build of the same source: SOURCE_DATE_EPOCH when the
# build sets it, else the time of the last commit when the source is a git checkout of its
# own, else a fixed date (a tarball without .git).
#
#   tavlo_release_date(<source dir> <day var> <changelog var>)
#
# sets <day var> to "YYYY-MM-DD" and <changelog var> to the changelog's RFC 2822 time, both
# in UTC. An empty SOURCE_DATE_EPOCH counts as unset; one that is not a number of seconds
# stops the configuration.
set(TAVLO_FALLBACK_EPOCH 1767225600) # 2026-01-01 00:00 UTC

function(tavlo_release_date source_dir day_var changelog_var)
    if(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
        set(epoch "$ENV{SOURCE_DATE_EPOCH}")
        if(NOT epoch MATCHES "^[0-9]+$")
            message(FATAL_ERROR "SOURCE_DATE_EPOCH is \"${epoch}\", not a number of seconds")
        endif()
    else()
        set(epoch "")
        find_package(Git QUIET)
        # Only the tree's own history: a tarball unpacked inside another checkout has none, and
        # neither has a tree whose .git git does not take as its own.
        if(GIT_FOUND AND EXISTS ${source_dir}/.git)
            execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --show-toplevel
                            WORKING_DIRECTORY ${source_dir}
                            OUTPUT_VARIABLE top OUTPUT_STRIP_TRAILING_WHITESPACE
                            RESULT_VARIABLE result ERROR_QUIET)
            file(REAL_PATH "${source_dir}" source_real)
            if(result EQUAL 0 AND NOT top STREQUAL "")
                file(REAL_PATH "${top}" top)
            endif()
            if(result EQUAL 0 AND top STREQUAL source_real)
                execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                                WORKING_DIRECTORY ${source_dir}
                                OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                                RESULT_VARIABLE result ERROR_QUIET)
            endif()
            if(NOT result EQUAL 0 OR NOT epoch MATCHES "^[0-9]+$")
                set(epoch "")
            endif()
        endif()
        if(epoch STREQUAL "")
            set(epoch ${TAVLO_FALLBACK_EPOCH})
        endif()
    endif()
    # string(TIMESTAMP) formats SOURCE_DATE_EPOCH when it is set; the environment is put back
    # as it was.
    set(had_epoch FALSE)
    if(DEFINED ENV{SOURCE_DATE_EPOCH})
        set(had_epoch TRUE)
        set(saved "$ENV{SOURCE_DATE_EPOCH}")
    endif()
    set(ENV{SOURCE_DATE_EPOCH} ${epoch})
    string(TIMESTAMP day "%Y-%m-%d" UTC)
    string(TIMESTAMP changelog "%a, %d %b %Y %H:%M:%S +0000" UTC)
    if(had_epoch)
        set(ENV{SOURCE_DATE_EPOCH} "${saved}")
    else()
        unset(ENV{SOURCE_DATE_EPOCH})
    endif()
    set(${day_var} ${day} PARENT_SCOPE)
    set(${changelog_var} ${changelog} PARENT_SCOPE)
endfunction()
