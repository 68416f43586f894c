# One source list, two editions.
#
# tavlo_edition_library(<name> SOURCES <files...> [EDITION_LINKS <targets...>] [LINKS <targets...>])
#
# makes the static library <name> (the full edition) and <name>_updater (the update-only
# edition, compiled with TAVLO_UPDATE_ONLY, which it passes on to everything that links it
# and which AUTOMOC hands to moc). EDITION_LINKS name libraries that are themselves built in
# both editions: <name> links them as given, <name>_updater links their _updater twins.
# LINKS are linked by both as they are. The folder is the public include directory of both.
function(tavlo_edition_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;EDITION_LINKS;LINKS" ${ARGN})
    set(updater_links)
    foreach(lib IN LISTS ARG_EDITION_LINKS)
        list(APPEND updater_links ${lib}_updater)
    endforeach()

    foreach(edition IN ITEMS full updater)
        if(edition STREQUAL "full")
            set(target ${name})
            set(edition_links ${ARG_EDITION_LINKS})
        else()
            set(target ${name}_updater)
            set(edition_links ${updater_links})
        endif()
        add_library(${target} STATIC ${ARG_SOURCES})
        target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
        target_link_libraries(${target} PUBLIC ${edition_links} ${ARG_LINKS})
        if(edition STREQUAL "updater")
            target_compile_definitions(${target} PUBLIC TAVLO_UPDATE_ONLY)
        endif()
    endforeach()
endfunction()
