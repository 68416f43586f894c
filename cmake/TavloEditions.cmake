# The two editions. Each subsystem's edition classes (MidiHandler, Downloader, FileManager,
# MainController) have the same name in both editions, so one program must never link both:
# the edition libraries carry a mark, and the check at the end of the top-level
# CMakeLists.txt refuses any target that reaches both marks through its links.

# tavlo_edition_library(TARGET EDITION): TARGET is a library of EDITION ("full" or
# "updater"). Its classes are included by their path from the tree's root
# ("device/full/MidiHandler.h"), never by a folder of same-named headers.
function(tavlo_edition_library target edition)
    set_property(TARGET ${target} PROPERTY TAVLO_EDITION ${edition})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# Every target made in dir and the folders below it.
function(_tavlo_targets_below dir out)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(sub IN LISTS subdirs)
        _tavlo_targets_below(${sub} below)
        list(APPEND targets ${below})
    endforeach()
    set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The targets of this tree that target links directly, privately or publicly. A generator
# expression counts with every target it names ($<LINK_ONLY:x>, the private links of a
# static library, and conditions alike): the check rather refuses too much than too little.
# Imported targets (Qt's, the system's) carry no mark and are not followed.
function(_tavlo_linked_targets target out)
    set(found)
    foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
        get_target_property(items ${target} ${property})
        if(NOT items)
            continue()
        endif()
        foreach(item IN LISTS items)
            # A link made from another folder is marked "::@(folder)" before and "::@" after.
            if(item MATCHES "^::@")
                continue()
            endif()
            if(item MATCHES "\\$<")
                string(REGEX MATCHALL "[A-Za-z0-9_.+-]+(::[A-Za-z0-9_.+-]+)*" names "${item}")
            else()
                set(names "${item}")
            endif()
            foreach(name IN LISTS names)
                if(NOT TARGET "${name}")
                    continue()
                endif()
                get_target_property(aliased "${name}" ALIASED_TARGET)
                if(aliased)
                    set(name ${aliased})
                endif()
                get_target_property(imported "${name}" IMPORTED)
                if(NOT imported)
                    list(APPEND found ${name})
                endif()
            endforeach()
        endforeach()
    endforeach()
    list(REMOVE_DUPLICATES found)
    set(${out} "${found}" PARENT_SCOPE)
endfunction()

# Fails the configuration, naming the target and the way to each edition, when a target
# made in dir or below reaches libraries of both editions through its links.
function(tavlo_refuse_mixed_editions dir)
    _tavlo_targets_below(${dir} targets)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(type STREQUAL "UTILITY")
            continue() # a custom target links nothing
        endif()
        # Breadth first from the target; "via" holds each reached target's way from it, and
        # "links" the targets each one links, found once for all the walks.
        set(queue ${target})
        set(seen ${target})
        set(via_${target} ${target})
        set(ways)
        set(editions)
        while(queue)
            list(POP_FRONT queue current)
            get_target_property(edition ${current} TAVLO_EDITION)
            if(edition AND NOT edition IN_LIST editions)
                list(APPEND editions ${edition})
                string(REPLACE ";" " -> " way "${via_${current}}")
                list(APPEND ways "${edition} through ${way}")
            endif()
            if(NOT DEFINED links_${current})
                _tavlo_linked_targets(${current} links_${current})
            endif()
            foreach(next IN LISTS links_${current})
                if(NOT next IN_LIST seen)
                    list(APPEND seen ${next})
                    list(APPEND queue ${next})
                    set(via_${next} ${via_${current}} ${next})
                endif()
            endforeach()
        endwhile()
        list(LENGTH editions count)
        if(count GREATER 1)
            list(SORT ways)
            list(JOIN ways ", " ways)
            message(FATAL_ERROR
                "Target \"${target}\" links both editions (${ways}). The full and the update-only "
                "edition have classes of the same name: a program, library or test is built "
                "with one edition's libraries only.")
        endif()
        foreach(name IN LISTS seen)
            unset(via_${name})
        endforeach()
    endforeach()
endfunction()
