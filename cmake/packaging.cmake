# Installation and packages: a .deb with both programs and their manual pages on Linux, a .zip
# with lorvex.exe and the README for Windows.
include(GNUInstallDirs)

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
set(CPACK_PACKAGE_VENDOR "lorvex")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Data transfer between a PC and ER-ORVEX / SOLVEK cash registers, with a simulated register")
set(CPACK_PACKAGE_CONTACT "lorvex developers <lorvex@localhost>")

if(WIN32)
    install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME lorvex-${PROJECT_VERSION}-windows-x86_64)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
    install(FILES ${PROJECT_SOURCE_DIR}/docs/lorvex.1 ${PROJECT_SOURCE_DIR}/docs/lorvex-sim.1
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
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
