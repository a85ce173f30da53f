# Configures a small project whose libraries stand in three layers, once per row below, each row adding
# one link; tonvale_check_layers() must refuse exactly the links that point up or bring in Qt.
cmake_minimum_required(VERSION 3.25)

set(src ${WORK}/src)
set(bin ${WORK}/build)
file(REMOVE_RECURSE ${WORK})
file(WRITE ${src}/empty.cpp "")
file(WRITE ${src}/CMakeLists.txt "
cmake_minimum_required(VERSION 3.25)
project(layers LANGUAGES CXX)
include(${MODULE})
add_library(Qt6::Core INTERFACE IMPORTED)
add_library(low STATIC empty.cpp)
add_library(low_too STATIC empty.cpp)
add_library(api INTERFACE)
add_library(middle STATIC empty.cpp)
add_library(top STATIC empty.cpp)
add_library(outside STATIC empty.cpp)
target_link_libraries(\${LINK})
tonvale_check_layers(\"low low_too api\" \"middle\" \"top\")
")

# (name, the link the row adds, whether the configure step must accept it)
set(rows
    "down|middle PUBLIC low|YES"
    "down_privately|top PRIVATE middle|YES"
    "same_layer|low PRIVATE low_too|YES"
    "into_unchecked_target|low PRIVATE outside|YES"
    "unchecked_target_up|outside PRIVATE top|YES"
    "qt_in_top_layer|top PRIVATE Qt6::Core|YES"
    "up|low PUBLIC middle|NO"
    "up_privately|middle PRIVATE top|NO"
    "up_from_interface|api INTERFACE top|NO"
    "qt_below_top|middle PRIVATE Qt6::Core|NO")
set(failures 0)
foreach(row IN LISTS rows)
    string(REPLACE "|" ";" row "${row}")
    list(GET row 0 name)
    list(GET row 1 link)
    list(GET row 2 accepted)
    string(REPLACE " " ";" link "${link}")
    execute_process(COMMAND ${CMAKE_COMMAND} -S ${src} -B ${bin} -G ${GENERATOR} -DCMAKE_CXX_COMPILER=${CXX}
                            "-DLINK=${link}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(accepted AND NOT result EQUAL 0)
        message(SEND_ERROR "${name}: refused, but should be accepted:\n${output}")
        math(EXPR failures "${failures} + 1")
    elseif(NOT accepted AND result EQUAL 0)
        message(SEND_ERROR "${name}: accepted, but should be refused")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()
if(failures)
    message(FATAL_ERROR "${failures} row(s) failed")
endif()
