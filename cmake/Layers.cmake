# The program's layers, each a library over its own folders: the wire
# (mavlink/), the engine (cli/, fc/, params/, serial/, session/; QtCore and
# QtSerialPort only), the pages (pages/) and the window (app/). A layer sees
# only its own folders and those of the layers below it: its include root
# holds links to just those folders, so an upward include does not compile.
# (A build on a Windows host, where links may need rights, includes from the
# source tree instead; the Linux build keeps the check.)

set(ZEFA_LAYER_ROOTS ${CMAKE_BINARY_DIR}/layers)

# zefa_include_root(TARGET VISIBILITY FOLDER...): the target and, PUBLIC,
# whoever links it include "FOLDER/..." from these folders (paths from the
# source root) and no others.
function(zefa_include_root target visibility)
    set(root ${ZEFA_LAYER_ROOTS}/${target})
    foreach(folder ${ARGN})
        if(CMAKE_HOST_WIN32)
            get_filename_component(parent ${PROJECT_SOURCE_DIR}/${folder} DIRECTORY)
            target_include_directories(${target} ${visibility} ${parent})
        else()
            get_filename_component(name ${folder} NAME)
            file(MAKE_DIRECTORY ${root})
            file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${name} SYMBOLIC)
            target_include_directories(${target} ${visibility} ${root})
        endif()
    endforeach()
endfunction()

# zefa_layer(TARGET FOLDER... [LINKS lib...] [EXCLUDE file...]): a static
# library of the folders' sources but the excluded ones (paths from the
# source root), whose include root gives access to exactly those folders.
function(zefa_layer target)
    cmake_parse_arguments(LAYER "" "" "LINKS;EXCLUDE" ${ARGN})
    set(sources)
    foreach(folder ${LAYER_UNPARSED_ARGUMENTS})
        file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp
             ${PROJECT_SOURCE_DIR}/${folder}/*.h ${PROJECT_SOURCE_DIR}/${folder}/*.ui)
        list(APPEND sources ${found})
    endforeach()
    foreach(excluded ${LAYER_EXCLUDE})
        list(REMOVE_ITEM sources ${PROJECT_SOURCE_DIR}/${excluded})
    endforeach()
    add_library(${target} STATIC ${sources})
    zefa_include_root(${target} PUBLIC ${LAYER_UNPARSED_ARGUMENTS})
    target_link_libraries(${target} PUBLIC ${LAYER_LINKS})
    zefa_warnings(${target})
endfunction()
