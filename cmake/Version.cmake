# Version information of the program, generated into a header every library may include.
configure_file(${CMAKE_SOURCE_DIR}/cmake/version.h.in ${CMAKE_BINARY_DIR}/generated/tonvale/version.h @ONLY)
add_library(tonvale_version INTERFACE)
target_include_directories(tonvale_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
