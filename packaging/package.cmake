# What `cmake --install` puts under the prefix and how CPack makes the Debian
# package of it (scripts/package.sh). Included once from the top CMakeLists.txt,
# before the programs, which each call vantik_install_program().

set(VANTIK_APP_ID ph.vantik.ClaimsWorklist)
set(VANTIK_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(VANTIK_PACKAGING_BINARY_DIR ${CMAKE_BINARY_DIR}/packaging)
# The package's folders are the system's: 0755 whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The version every program prints for --version, set once, in project().
configure_file(${VANTIK_PACKAGING_DIR}/version.h.in ${CMAKE_BINARY_DIR}/generated/vantik_version.h @ONLY)
add_library(vantik_version INTERFACE)
target_include_directories(vantik_version INTERFACE ${CMAKE_BINARY_DIR}/generated)

# Elsewhere than on Linux a program is only installed: the manual pages, menu entry,
# icons and CPack below are the Debian package's (docs/windows.md deploys on Windows).
if(NOT UNIX)
    function(vantik_install_program target)
        target_link_libraries(${target} PRIVATE vantik_version)
        install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endfunction()
    return()
endif()

# Debian keeps manual pages and change logs compressed, without a time stamp in
# the header, so that the same sources give the same package.
function(_vantik_gzip source output)
    execute_process(COMMAND gzip -9nc ${source} OUTPUT_FILE ${output} RESULT_VARIABLE _failed)
    if(_failed)
        message(FATAL_ERROR "gzip could not compress ${source}")
    endif()
endfunction()

# A program of the package: into bin, with --version, and with its manual page
# packaging/man/<name>.1 (the package's test asks for one per program).
function(vantik_install_program target)
    target_link_libraries(${target} PRIVATE vantik_version)
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    set_property(GLOBAL APPEND PROPERTY VANTIK_INSTALLED_PROGRAMS ${target})
    set(_page ${VANTIK_PACKAGING_DIR}/man/${target}.1)
    if(NOT EXISTS ${_page})
        message(WARNING "${target} is installed without a manual page: write packaging/man/${target}.1")
        return()
    endif()
    configure_file(${_page} ${VANTIK_PACKAGING_BINARY_DIR}/man/${target}.1 @ONLY)
    _vantik_gzip(${VANTIK_PACKAGING_BINARY_DIR}/man/${target}.1 ${VANTIK_PACKAGING_BINARY_DIR}/man/${target}.1.gz)
    install(FILES ${VANTIK_PACKAGING_BINARY_DIR}/man/${target}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

# The shipped data (such as the eCF4 DTD), found by the programs at
# <their folder>/../share/vantik: whatever data/ holds when installing.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vantik OPTIONAL)

# The desktop's menu entry, the software centre's description and the icon: drawn
# once as SVG, with the sizes of the icon theme made from it at build time.
install(FILES ${VANTIK_PACKAGING_DIR}/${VANTIK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VANTIK_PACKAGING_DIR}/${VANTIK_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
set(_icon_sizes 16 24 32 48 64 128 256)
set(_icons)
foreach(_size ${_icon_sizes})
    list(APPEND _icons ${VANTIK_PACKAGING_BINARY_DIR}/icons/${_size}x${_size}/apps/${VANTIK_APP_ID}.png)
endforeach()
add_executable(vantik-render-icon ${VANTIK_PACKAGING_DIR}/render_icon.cpp)
target_link_libraries(vantik-render-icon PRIVATE Qt6::Svg Qt6::Gui)
add_custom_command(OUTPUT ${_icons}
    COMMAND vantik-render-icon ${VANTIK_PACKAGING_DIR}/${VANTIK_APP_ID}.svg ${VANTIK_PACKAGING_BINARY_DIR}/icons ${VANTIK_APP_ID} ${_icon_sizes}
    DEPENDS ${VANTIK_PACKAGING_DIR}/${VANTIK_APP_ID}.svg vantik-render-icon
    COMMENT "Drawing the icon at ${_icon_sizes} pixels")
add_custom_target(vantik_icons ALL DEPENDS ${_icons})
foreach(_size ${_icon_sizes})
    install(FILES ${VANTIK_PACKAGING_BINARY_DIR}/icons/${_size}x${_size}/apps/${VANTIK_APP_ID}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps)
endforeach()

# The metainfo names the programs the package provides: written once every
# program has called vantik_install_program().
function(_vantik_write_metainfo)
    get_property(_programs GLOBAL PROPERTY VANTIK_INSTALLED_PROGRAMS)
    set(VANTIK_PROVIDED_BINARIES "")
    foreach(_program ${_programs})
        string(APPEND VANTIK_PROVIDED_BINARIES "\n    <binary>${_program}</binary>")
    endforeach()
    configure_file(${VANTIK_PACKAGING_DIR}/${VANTIK_APP_ID}.metainfo.xml.in ${VANTIK_PACKAGING_BINARY_DIR}/${VANTIK_APP_ID}.metainfo.xml @ONLY)
endfunction()
cmake_language(DEFER CALL _vantik_write_metainfo)
install(FILES ${VANTIK_PACKAGING_BINARY_DIR}/${VANTIK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The documents keep the checkout's layout so that their links hold.
set(_doc ${CMAKE_INSTALL_DATADIR}/doc/vantik)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${VANTIK_PACKAGING_DIR}/copyright DESTINATION ${_doc})
install(FILES ${PROJECT_SOURCE_DIR}/docs/user-guide.md ${PROJECT_SOURCE_DIR}/docs/sql-server.md
    ${PROJECT_SOURCE_DIR}/docs/ecf4.md DESTINATION ${_doc}/docs)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images DESTINATION ${_doc}/docs)
configure_file(${VANTIK_PACKAGING_DIR}/changelog ${VANTIK_PACKAGING_BINARY_DIR}/changelog COPYONLY)
_vantik_gzip(${VANTIK_PACKAGING_BINARY_DIR}/changelog ${VANTIK_PACKAGING_BINARY_DIR}/changelog.gz)
install(FILES ${VANTIK_PACKAGING_BINARY_DIR}/changelog.gz DESTINATION ${_doc})

# The Debian package. Its dependencies are the libraries the programs link
# (dpkg-shlibdeps), and the Qt database drivers they load by name, which no
# library dependency shows: without them no database opens.
set(VANTIK_PACKAGE_MAINTAINER "VANTIK Claims Worklist developers <vantik@example.org>"
    CACHE STRING "The Maintainer field of the Debian package (name <address>)")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "VANTIK")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "claims worklist for a hospital's claims clerks")
set(CPACK_PACKAGE_DESCRIPTION
    "Lists the admissions and out-patient visits of a hospital that are to be
claimed from PhilHealth and drives the work on each claim's Claim Form 4 (CF4):
the clerk completes and checks the claim forms one by one or for the whole
list, fills common gaps and corrects drug records in bulk, and prints, exports
and charts the work done. The data lives in the hospital information system's
SQL Server database (ODBC); vantik-demo-db makes an embedded demo database to
try the program on, and vantik-sql runs one statement for support staff.")
# scripts/package.sh configures the prefix /usr too: the log-in knows the program
# as installed by the folder it was built for (VANTIK_INSTALLED_PROGRAM_FOLDER).
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# CPack's strip leaves the compiler's notes, which Debian's strip takes out too.
set(CPACK_VANTIK_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${VANTIK_PACKAGING_DIR}/strip_notes.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VANTIK_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-odbc")
# The ODBC driver of SQL Server; a DSN may name another.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "tdsodbc")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
