# Desktop integration and the Debian package.
include(GNUInstallDirs)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/zefa-gcs.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/images/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/70-zefa-gcs.rules
        DESTINATION lib/udev/rules.d)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zefa-gcs)
set(CPACK_PACKAGE_VENDOR "ZEFA Robotics")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Configuration assistant for ZEFA R7 multirotor flight controllers")
set(CPACK_PACKAGE_DESCRIPTION
    "Reads and writes the flight controller's parameters over its USB serial port, calibrates the radio, accelerometer and battery voltage, runs a self-test, and shows sticks, attitude and voltage live. Includes a simulated flight controller for trying it without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "ZEFA Robotics <support@zefa-robotics.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.zefa-robotics.com")
# Dependencies come from the libraries the binaries link (the X11 platform
# plugin ships inside libqt5gui5).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The interface's font; Chinese text is drawn in Noto Sans CJK SC when present.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-dejavu-core)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-noto-cjk)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
