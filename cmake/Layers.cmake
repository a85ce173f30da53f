# The libraries' links point one way, from the window down to the word processors:
#
#   word (the interface, its hosts, the wildcard syntax) <- prefs <- music, chords, edit <- form <- the programs
#
# and nothing below the programs uses Qt (prefs/qt is the programs' settings store). A library may link its
# own layer and the layers below it; tonvale_check_layers() stops the configure step when one links upward
# or links Qt. Since a target sees only the headers of what it links (PublicHeaders.cmake), this keeps the
# includes pointing one way too. Targets named in no layer (tests, benchmarks, programs) are not checked.
function(tonvale_check_layers)
    set(layers "${ARGN}")
    list(LENGTH layers count)
    math(EXPR last "${count} - 1")
    foreach(index RANGE ${last})
        list(GET layers ${index} members)
        string(REPLACE " " ";" members "${members}")
        foreach(target IN LISTS members)
            set(layer_of_${target} ${index})
        endforeach()
    endforeach()
    foreach(index RANGE ${last})
        list(GET layers ${index} members)
        string(REPLACE " " ";" members "${members}")
        foreach(target IN LISTS members)
            if(NOT TARGET ${target})
                continue()
            endif()
            get_target_property(type ${target} TYPE)
            set(links)
            if(NOT type STREQUAL "INTERFACE_LIBRARY")
                get_target_property(links ${target} LINK_LIBRARIES)
            endif()
            get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
            foreach(link IN LISTS links interface)
                if(link MATCHES "^Qt[0-9]*::" AND index LESS last)
                    message(FATAL_ERROR "${target} links ${link}: only the programs use Qt")
                endif()
                if(DEFINED layer_of_${link} AND layer_of_${link} GREATER index)
                    message(FATAL_ERROR "${target} links ${link}, which is above it: links point down only")
                endif()
            endforeach()
        endforeach()
    endforeach()
endfunction()
