# What `cmake --install` puts under the prefix. Included once from the top
# CMakeLists.txt, before the programs, which each call vantik_install_program().

set(VANTIK_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})

# The version every program prints for --version, set once, in project().
configure_file(${VANTIK_PACKAGING_DIR}/version.h.in ${CMAKE_BINARY_DIR}/generated/vantik_version.h @ONLY)
add_library(vantik_version INTERFACE)
target_include_directories(vantik_version INTERFACE ${CMAKE_BINARY_DIR}/generated)

# A program for the clerks or their support: into bin, with --version.
function(vantik_install_program target)
    target_link_libraries(${target} PRIVATE vantik_version)
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()
