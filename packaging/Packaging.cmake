# Desktop integration and the Debian package.
include(GNUInstallDirs)

# The reverse-DNS id of the maker's domain names the desktop entry and the
# AppStream metadata; components may not hold hyphens.
set(ZEFA_APP_ID com.zefa_robotics.gcs)
set(ZEFA_RELEASE_DATE 2026-12-07)
set(ZEFA_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
set(ZEFA_PACKAGING_OUT ${PROJECT_BINARY_DIR}/packaging)
set(ZEFA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zefa-gcs)

configure_file(${ZEFA_PACKAGING}/${ZEFA_APP_ID}.metainfo.xml.in
               ${ZEFA_PACKAGING_OUT}/${ZEFA_APP_ID}.metainfo.xml @ONLY)

# Manual pages and the changelog are installed compressed, reproducibly.
set(ZEFA_GZIPPED)
foreach(text zefa-gcs.1 zefa-fc-sim.1 changelog)
    if(EXISTS ${ZEFA_PACKAGING}/${text}.in)
        configure_file(${ZEFA_PACKAGING}/${text}.in ${ZEFA_PACKAGING_OUT}/${text} @ONLY)
    else()
        configure_file(${ZEFA_PACKAGING}/${text} ${ZEFA_PACKAGING_OUT}/${text} COPYONLY)
    endif()
    add_custom_command(OUTPUT ${ZEFA_PACKAGING_OUT}/${text}.gz
        COMMAND gzip -9nkf ${ZEFA_PACKAGING_OUT}/${text}
        DEPENDS ${ZEFA_PACKAGING_OUT}/${text}
        VERBATIM)
    list(APPEND ZEFA_GZIPPED ${ZEFA_PACKAGING_OUT}/${text}.gz)
endforeach()
add_custom_target(packaging-texts ALL DEPENDS ${ZEFA_GZIPPED})

install(FILES ${ZEFA_PACKAGING}/${ZEFA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ZEFA_PACKAGING_OUT}/${ZEFA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/images/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${ZEFA_PACKAGING}/70-zefa-gcs.rules
        DESTINATION lib/udev/rules.d)
install(FILES ${ZEFA_PACKAGING_OUT}/zefa-gcs.1.gz ${ZEFA_PACKAGING_OUT}/zefa-fc-sim.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${ZEFA_PACKAGING}/copyright ${ZEFA_PACKAGING_OUT}/changelog.gz
        DESTINATION ${ZEFA_DOC_DIR})
install(FILES ${ZEFA_PACKAGING}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME zefa-gcs)

# Stripped as Debian's packaging tools strip: without the compiler's notes.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        foreach(program zefa-gcs zefa-fc-sim)
            execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\"
                RESULT_VARIABLE failed)
            if(failed)
                message(FATAL_ERROR \"objcopy failed on \${program}\")
            endif()
        endforeach()
    endif()")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zefa-gcs)
set(CPACK_PACKAGE_VENDOR "ZEFA Robotics")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Configuration assistant for ZEFA R7 multirotor flight controllers")
# Lines of at most 80 columns, as the package tools show them.
set(CPACK_PACKAGE_DESCRIPTION
    "Reads and writes the flight controller's parameters over its USB serial
port, calibrates the radio, accelerometer and battery voltage, runs a
self-test, and shows sticks, attitude and voltage live. English and
Simplified Chinese interface.
.
Includes zefa-fc-sim, a simulated flight controller for trying the assistant
without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "ZEFA Robotics <support@zefa-robotics.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.zefa-robotics.com")
# Library dependencies come from the libraries the binaries link (the X11
# platform plugin ships inside libqt5gui5); the interface pins DejaVu Sans,
# and the Chinese interface needs a CJK font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-dejavu-core)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-noto-cjk)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${ZEFA_PACKAGING}/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
