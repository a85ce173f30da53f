# Configures and builds a small project that declares its headers with tonvale_public_headers(), then checks
# which includes compile and which links are laid out. Run by ctest (see CMakeLists.txt).
cmake_minimum_required(VERSION 3.25)

set(src ${WORK}/src)
set(bin ${WORK}/build)
file(REMOVE_RECURSE ${WORK})

set(failures 0)
macro(fail)
    message(SEND_ERROR ${ARGN})
    math(EXPR failures "${failures} + 1")
endmacro()

function(write name)
    file(WRITE ${src}/${name} "${ARGN}\n")
endfunction()

# Two libraries: low (a public header, a private one, a header added after the call, one below a BASE) and
# high, which links low publicly and whose header includes low's.
write(low/low.h "#pragma once\n#include \"internal.h\"\ninline int low() { return internal(); }")
write(low/internal.h "#pragma once\ninline int internal() { return 1; }")
write(low/secret.h "#pragma once\ninline int secret() { return 2; }")
write(low/late.h "#pragma once\ninline int late() { return 3; }")
write(low/low.cpp "#include \"low/low.h\"\n#include \"secret.h\"\nint lowSecret() { return low() + secret(); }")
write(rebased/src/rebased.h "#pragma once\ninline int rebased() { return 4; }")
write(rebased/src/rebased.cpp "#include \"rebased.h\"\nint rebasedValue() { return rebased(); }")
write(high/high.h "#pragma once\n#include \"low/low.h\"\ninline int high() { return low() + 1; }")
write(high/high.cpp "#include \"high/high.h\"\nint highValue() { return high(); }")

# One program per include: (name, what it links, the include, whether it must compile).
set(cases
    "own_header|low|low/low.h|YES"
    "private_header|low|low/secret.h|NO"
    "sibling_of_public_header|low|low/internal.h|YES"
    "header_added_later|low|low/late.h|YES"
    "through_public_link|high|low/low.h|YES"
    "unlinked_library|high|rebased.h|NO"
    "not_linked_at_all||low/low.h|NO"
    "below_base|rebased|rebased.h|YES"
    "base_not_in_spelling|rebased|rebased/src/rebased.h|NO")
set(programs)
foreach(case IN LISTS cases)
    string(REPLACE "|" ";" case "${case}")
    list(GET case 0 name)
    list(GET case 1 links)
    list(GET case 2 header)
    write(programs/${name}.cpp "#include \"${header}\"\nint main() { return 0; }")
    string(APPEND programs "add_executable(${name} EXCLUDE_FROM_ALL programs/${name}.cpp)\n")
    if(links)
        string(APPEND programs "target_link_libraries(${name} PRIVATE ${links})\n")
    endif()
endforeach()

set(low_private "low/secret.h")
function(write_project)
    write(CMakeLists.txt "
cmake_minimum_required(VERSION 3.25)
project(headers LANGUAGES CXX)
include(${MODULE})
add_library(low STATIC low/low.cpp low/low.h low/internal.h low/secret.h)
tonvale_public_headers(low PRIVATE ${low_private})
target_sources(low PRIVATE low/late.h)
add_library(rebased STATIC rebased/src/rebased.cpp rebased/src/rebased.h)
tonvale_public_headers(rebased BASE rebased/src)
add_library(high STATIC high/high.cpp high/high.h)
target_link_libraries(high PUBLIC low)
tonvale_public_headers(high)
${programs}")
endfunction()

function(configure)
    execute_process(COMMAND ${CMAKE_COMMAND} -S ${src} -B ${bin} -G ${GENERATOR} -DCMAKE_CXX_COMPILER=${CXX}
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "configuring the project failed:\n${output}")
    endif()
endfunction()

write_project()
configure()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${bin} RESULT_VARIABLE result OUTPUT_VARIABLE output
                ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    fail("the libraries do not build:\n${output}")
endif()

foreach(case IN LISTS cases)
    string(REPLACE "|" ";" case "${case}")
    list(GET case 0 name)
    list(GET case 3 compiles)
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${bin} --target ${name} RESULT_VARIABLE result
                    OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(compiles AND NOT result EQUAL 0)
        fail("${name}: should compile, but:\n${output}")
    elseif(NOT compiles AND result EQUAL 0)
        fail("${name}: compiled, but its include should not be found")
    endif()
endforeach()

# A header made private loses its link when the project is configured again; one made public gains it.
set(links ${bin}/include/low/low)
if(NOT IS_SYMLINK ${links}/internal.h OR EXISTS ${links}/secret.h)
    fail("the links of low before the change are wrong")
endif()
set(low_private "low/internal.h")
write_project()
configure()
if(EXISTS ${links}/internal.h OR NOT IS_SYMLINK ${links}/secret.h)
    fail("a reconfigure did not follow the change of the private headers")
endif()

if(failures)
    message(FATAL_ERROR "${failures} case(s) failed")
endif()
