# Cross build for 64-bit Windows on Debian with MinGW-w64 (POSIX threads,
# the flavour the Windows Qt was built with) against a Qt 5.15 for Windows.
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw64-toolchain.cmake \
#         -DZEFA_QT_WINDOWS=/path/to/qt5-mingw64
#
# ZEFA_QT_WINDOWS may also come from the environment; scripts/windows sets
# it up from the team's toolchain archive.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZEFA_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZEFA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZEFA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZEFA_MINGW_TRIPLET}-windres)

if(NOT ZEFA_QT_WINDOWS AND DEFINED ENV{ZEFA_QT_WINDOWS})
    set(ZEFA_QT_WINDOWS $ENV{ZEFA_QT_WINDOWS})
endif()
if(NOT EXISTS "${ZEFA_QT_WINDOWS}/lib/cmake/Qt5/Qt5Config.cmake")
    message(FATAL_ERROR "No Qt for Windows at '${ZEFA_QT_WINDOWS}': set ZEFA_QT_WINDOWS "
                        "to the unpacked qt5-mingw64 folder (scripts/windows does this).")
endif()
set(ZEFA_QT_WINDOWS ${ZEFA_QT_WINDOWS} CACHE PATH "Qt 5.15 built for Windows (MinGW-w64)")
# Compiler checks run in a project of their own that sees only these.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZEFA_QT_WINDOWS)

set(CMAKE_FIND_ROOT_PATH /usr/${ZEFA_MINGW_TRIPLET} ${ZEFA_QT_WINDOWS})
list(APPEND CMAKE_PREFIX_PATH ${ZEFA_QT_WINDOWS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# moc, rcc and uic come with the Windows Qt as programs for this machine;
# lrelease and lupdate from Debian's Qt: catalogues are the same everywhere.
set(Qt5LinguistTools_DIR /usr/lib/x86_64-linux-gnu/cmake/Qt5LinguistTools
    CACHE PATH "Debian's Qt Linguist tools")
