# The Windows program with everything it needs beside it, as an NSIS
# installer and a portable zip (cpack in the build folder makes both).
# Included last, so every program defined at the top level is installed:
# a console companion added there ships without changes here.

set(ZEFA_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)

get_property(zefa_top_targets DIRECTORY ${PROJECT_SOURCE_DIR} PROPERTY BUILDSYSTEM_TARGETS)
foreach(target ${zefa_top_targets})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
        install(TARGETS ${target} RUNTIME DESTINATION .)
    endif()
endforeach()

# Qt finds its plugins in folders named by kind beside the program.
install(FILES $<TARGET_FILE:Qt5::Core> $<TARGET_FILE:Qt5::Gui> $<TARGET_FILE:Qt5::Widgets>
              $<TARGET_FILE:Qt5::SerialPort>
        DESTINATION .)
install(FILES $<TARGET_FILE:Qt5::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt5::QWindowsVistaStylePlugin> DESTINATION styles)
# The window icon is an .ico.
install(FILES $<TARGET_FILE:Qt5::QICOPlugin> DESTINATION imageformats)

# The compiler's runtime, stripped (libstdc++ alone is 23 MB with symbols).
# A native MSVC build ships its runtime through windeployqt instead.
if(MINGW)
    set(zefa_runtime_dir ${PROJECT_BINARY_DIR}/mingw-runtime)
    set(zefa_runtime_dlls)
    foreach(dll libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll libssp-0.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                        OUTPUT_VARIABLE source OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${source}" OR NOT EXISTS "${source}")
            message(FATAL_ERROR "The compiler does not know where ${dll} is")
        endif()
        add_custom_command(OUTPUT ${zefa_runtime_dir}/${dll}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${zefa_runtime_dir}
            COMMAND ${CMAKE_STRIP} --strip-unneeded -o ${zefa_runtime_dir}/${dll} ${source}
            DEPENDS ${source}
            VERBATIM)
        list(APPEND zefa_runtime_dlls ${zefa_runtime_dir}/${dll})
    endforeach()
    add_custom_target(mingw-runtime ALL DEPENDS ${zefa_runtime_dlls})
    install(FILES ${zefa_runtime_dlls} DESTINATION .)
endif()

# The licences of what ships: ours, Qt's (LGPL 3, which builds on the GPL 3),
# the compiler runtime's and the embedded fonts'. Taken from the Debian packages that
# provide them on the building machine.
set(ZEFA_WINDOWS_LICENCES
    ${ZEFA_PACKAGING}/copyright=ZEFA-GCS.txt
    /usr/share/common-licenses/LGPL-3=Qt-LGPL-3.txt
    /usr/share/common-licenses/GPL-3=GPL-3.txt
    /usr/share/doc/gcc-mingw-w64-base/copyright=MinGW-GCC-runtime.txt
    /usr/share/doc/mingw-w64-common/copyright=MinGW-w64-winpthreads.txt
    /usr/share/doc/fonts-dejavu-core/copyright=DejaVu-fonts.txt
    /usr/share/doc/fonts-noto-cjk/copyright=Noto-Sans-CJK.txt)
foreach(entry ${ZEFA_WINDOWS_LICENCES})
    string(REPLACE "=" ";" entry ${entry})
    list(GET entry 0 source)
    list(GET entry 1 name)
    if(EXISTS ${source})
        install(FILES ${source} DESTINATION licences RENAME ${name})
    endif()
endforeach()

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME zefa-gcs)
set(CPACK_PACKAGE_VENDOR "ZEFA Robotics")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Configuration assistant for ZEFA R7 multirotor flight controllers")
set(CPACK_PACKAGE_FILE_NAME zefa-gcs-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "ZEFA GCS")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "ZEFA GCS")
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${ZEFA_PACKAGING}/copyright)

# A 64-bit installer for a 64-bit program: Program Files and the registry
# without the 32-bit redirection.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DISPLAY_NAME "ZEFA GCS")
set(CPACK_NSIS_PACKAGE_NAME "ZEFA GCS")
set(CPACK_NSIS_INSTALLED_ICON_NAME zefa-gcs.exe)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/images/r7ico.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/images/r7ico.ico)
set(CPACK_NSIS_URL_INFO_ABOUT "https://www.zefa-robotics.com")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_UNINSTALL_NAME Uninstall)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
# The shortcut names the program's own icon; without it Windows shows a
# generic one until it has read the program.
set(CPACK_NSIS_CREATE_ICONS_EXTRA
    "CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\ZEFA GCS.lnk' '$INSTDIR\\\\zefa-gcs.exe' '' '$INSTDIR\\\\zefa-gcs.exe' 0")
set(CPACK_NSIS_DELETE_ICONS_EXTRA "Delete '$SMPROGRAMS\\\\$MUI_TEMP\\\\ZEFA GCS.lnk'")
# The installer's file name says what it is.
set(CPACK_PROJECT_CONFIG_FILE ${ZEFA_PACKAGING}/windows/CPackOptions.cmake)
include(CPack)
