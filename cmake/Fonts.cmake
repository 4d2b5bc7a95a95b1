# The fonts the layout is measured with travel inside the program, for
# systems that lack them (Windows): DejaVu Sans as Debian ships it, and of
# Noto Sans CJK SC only the characters the Chinese catalogue uses, cut out at
# build time. app/applicationsetup.cpp registers them.
find_file(ZEFA_DEJAVU_SANS DejaVuSans.ttf PATHS /usr/share/fonts/truetype/dejavu
          NO_CMAKE_FIND_ROOT_PATH DOC "DejaVu Sans (fonts-dejavu-core)")
find_file(ZEFA_DEJAVU_SANS_BOLD DejaVuSans-Bold.ttf PATHS /usr/share/fonts/truetype/dejavu
          NO_CMAKE_FIND_ROOT_PATH DOC "DejaVu Sans Bold (fonts-dejavu-core)")
find_file(ZEFA_NOTO_SANS_CJK NotoSansCJK-Regular.ttc PATHS /usr/share/fonts/opentype/noto
          NO_CMAKE_FIND_ROOT_PATH DOC "Noto Sans CJK Regular collection (fonts-noto-cjk)")
# Simplified Chinese is the third face of the collection.
set(ZEFA_NOTO_SANS_CJK_SC_INDEX 2 CACHE STRING "Index of Noto Sans CJK SC in ZEFA_NOTO_SANS_CJK")
find_program(ZEFA_PYFTSUBSET pyftsubset DOC "fontTools' subsetter (fonttools)")
foreach(needed ZEFA_DEJAVU_SANS ZEFA_DEJAVU_SANS_BOLD ZEFA_NOTO_SANS_CJK ZEFA_PYFTSUBSET)
    if(NOT ${needed})
        message(FATAL_ERROR "${needed} not found: install fonts-dejavu-core, fonts-noto-cjk and "
                            "fonttools, or set ${needed} to the file")
    endif()
endforeach()

set(ZEFA_FONTS_OUT ${CMAKE_CURRENT_BINARY_DIR}/fonts)
set(ZEFA_CJK_SUBSET ${ZEFA_FONTS_OUT}/NotoSansCJKsc-Regular-subset.otf)
add_custom_command(OUTPUT ${ZEFA_CJK_SUBSET}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZEFA_FONTS_OUT}
    COMMAND ${ZEFA_PYFTSUBSET} ${ZEFA_NOTO_SANS_CJK} --font-number=${ZEFA_NOTO_SANS_CJK_SC_INDEX}
            --text-file=${CMAKE_CURRENT_SOURCE_DIR}/resources/zh_CN.ts --layout-features=*
            --output-file=${ZEFA_CJK_SUBSET}
    DEPENDS ${ZEFA_NOTO_SANS_CJK} ${CMAKE_CURRENT_SOURCE_DIR}/resources/zh_CN.ts
    VERBATIM)

configure_file(resources/fonts.qrc.in ${ZEFA_FONTS_OUT}/fonts.qrc @ONLY)
set(ZEFA_FONTS_RCC ${ZEFA_FONTS_OUT}/qrc_fonts.cpp)
add_custom_command(OUTPUT ${ZEFA_FONTS_RCC}
    COMMAND Qt5::rcc --name fonts --output ${ZEFA_FONTS_RCC} ${ZEFA_FONTS_OUT}/fonts.qrc
    DEPENDS ${ZEFA_FONTS_OUT}/fonts.qrc ${ZEFA_DEJAVU_SANS} ${ZEFA_DEJAVU_SANS_BOLD}
            ${ZEFA_CJK_SUBSET}
    VERBATIM)
list(APPEND ZEFA_RCC_SOURCES ${ZEFA_FONTS_RCC})
