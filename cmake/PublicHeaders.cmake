# Each library shows whoever links it its own public headers and nothing else of the tree.
#
#   tonvale_public_headers(<target> [BASE <folder>] [PRIVATE <header>...])
#
# lays out the headers of the target's source list as symbolic links under
# ${CMAKE_BINARY_DIR}/include/<target>/, each at its path below BASE (the repository root unless said
# otherwise), and makes that folder the target's public include directory. So "word/builtin/host.h" is
# found by every target that links word_builtin, directly or through a public link, and by no other; the
# headers themselves stay beside their sources. PRIVATE names the headers (as in the source list) that
# only the library's own sources use; they include them by their plain name ("hoststate.h"), from the
# folder they are in, and they get no link.
#
# The links are made when the calling folder's CMakeLists.txt has been read, so that headers added to
# the target later in it (target_sources) count too. Where the file system has no symbolic links the
# headers are copied instead, and copied again whenever one changes (configure_file).
function(tonvale_public_headers target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "BASE" "PRIVATE")
    if(arg_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "tonvale_public_headers(${target}): unexpected ${arg_UNPARSED_ARGUMENTS}")
    endif()
    if(NOT arg_BASE)
        set(arg_BASE ${PROJECT_SOURCE_DIR})
    endif()
    cmake_path(ABSOLUTE_PATH arg_BASE BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} NORMALIZE OUTPUT_VARIABLE base)
    set(folder ${CMAKE_BINARY_DIR}/include/${target})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE ${folder})
    else()
        target_include_directories(${target} PUBLIC ${folder})
    endif()
    # A deferred call sees its arguments when it runs: hand it the values, not this function's variables.
    cmake_language(EVAL CODE
        "cmake_language(DEFER CALL _tonvale_lay_out_headers [[${target}]] [[${base}]] [[${folder}]] [[${arg_PRIVATE}]])")
endfunction()

function(_tonvale_lay_out_headers target base folder private)
    get_target_property(dir ${target} SOURCE_DIR)
    get_target_property(sources ${target} SOURCES)
    if(NOT sources)
        set(sources)
    endif()
    set(private_headers)
    foreach(header IN LISTS private)
        cmake_path(ABSOLUTE_PATH header BASE_DIRECTORY ${dir} NORMALIZE)
        list(APPEND private_headers ${header})
    endforeach()
    set(wanted)
    set(private_seen)
    foreach(source IN LISTS sources)
        if(source MATCHES "^\\$<" OR NOT source MATCHES "\\.(h|hpp)$")
            continue()
        endif()
        cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${dir} NORMALIZE OUTPUT_VARIABLE header)
        if(header IN_LIST private_headers)
            list(APPEND private_seen ${header})
            continue()
        endif()
        cmake_path(IS_PREFIX base ${header} NORMALIZE inside)
        if(NOT inside)
            message(FATAL_ERROR "tonvale_public_headers(${target}): ${header} is not below ${base}")
        endif()
        cmake_path(RELATIVE_PATH header BASE_DIRECTORY ${base} OUTPUT_VARIABLE name)
        set(link ${folder}/${name})
        list(APPEND wanted ${link})
        if(IS_SYMLINK ${link})
            file(READ_SYMLINK ${link} current)
            if(current STREQUAL header)
                continue()
            endif()
        endif()
        file(REMOVE ${link})
        cmake_path(GET link PARENT_PATH parent)
        file(MAKE_DIRECTORY ${parent})
        file(CREATE_LINK ${header} ${link} RESULT result SYMBOLIC)
        if(NOT result STREQUAL "0")
            configure_file(${header} ${link} COPYONLY)
        endif()
    endforeach()
    foreach(header IN LISTS private_headers)
        if(NOT header IN_LIST private_seen)
            message(FATAL_ERROR "tonvale_public_headers(${target}): the private header ${header} is not in its sources")
        endif()
    endforeach()
    # Headers since taken out of the list, or made private, lose their link.
    file(GLOB_RECURSE present LIST_DIRECTORIES false ${folder}/*)
    foreach(file IN LISTS present)
        if(NOT file IN_LIST wanted)
            file(REMOVE ${file})
        endif()
    endforeach()
endfunction()
