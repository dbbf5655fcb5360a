# Installation and packages: a .deb with both programs, their manual pages and the copyright file
# on Linux, a .zip with lorvex.exe and the README for Windows. One version everywhere: the packages,
# the manual pages' title lines and `lorvex --version` all take project(VERSION).
include(GNUInstallDirs)

set(LORVEX_MAINTAINER "lorvex developers <lorvex@localhost>")

if(WIN32)
    # The .zip holds lorvex.exe at its top, beside the README.
    install(TARGETS lorvex RUNTIME DESTINATION .)
else()
    install(TARGETS lorvex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET lorvex-sim)
    install(TARGETS lorvex-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(CPACK_PACKAGE_NAME lorvex)
set(CPACK_PACKAGE_VENDOR "lorvex developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Data transfer between a PC and ER-ORVEX / SOLVEK cash registers, with a simulated register")
set(CPACK_PACKAGE_CONTACT ${LORVEX_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${LORVEX_MAINTAINER})

if(WIN32)
    install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME lorvex-${PROJECT_VERSION}-windows-x86_64)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
    # The manual pages with the version in their title lines, compressed as Debian keeps them (gzip
    # -n: no name or time inside, so the same sources make the same package).
    find_program(LORVEX_GZIP gzip REQUIRED)
    foreach(page lorvex.1 lorvex-sim.1)
        configure_file(${PROJECT_SOURCE_DIR}/docs/${page} ${CMAKE_BINARY_DIR}/man/${page} @ONLY)
        execute_process(COMMAND ${LORVEX_GZIP} -9 -n -c ${CMAKE_BINARY_DIR}/man/${page}
                        OUTPUT_FILE ${CMAKE_BINARY_DIR}/man/${page}.gz COMMAND_ERROR_IS_FATAL ANY)
        install(FILES ${CMAKE_BINARY_DIR}/man/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endforeach()
    install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/cmake/copyright
            DESTINATION ${CMAKE_INSTALL_DOCDIR})
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    find_program(LORVEX_DPKG_SHLIBDEPS dpkg-shlibdeps)
    if(LORVEX_DPKG_SHLIBDEPS)
        set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    else()
        set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1")
    endif()
endif()
include(CPack)
