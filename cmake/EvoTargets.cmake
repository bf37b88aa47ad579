# Helpers that keep each folder's CMakeLists.txt to one line: a folder is a library made of every
# source file in it.

# Platform code lies in pairs of files, Name_posix.cpp and Name_win.cpp: a build takes the one of
# its platform. evo_platform_sources(<list var>) drops the other platform's files from a list.
if(WIN32)
    set(EVO_PLATFORM win)
else()
    set(EVO_PLATFORM posix)
endif()
function(evo_platform_sources var)
    set(kept ${${var}})
    if(WIN32)
        list(FILTER kept EXCLUDE REGEX "_posix\\.cpp$")
    else()
        list(FILTER kept EXCLUDE REGEX "_win\\.cpp$")
    endif()
    set(${var} ${kept} PARENT_SCOPE)
endfunction()

# evo_add_library(<name> [DEPS <targets...>]): a static library of the folder's sources, with the
# folder on its public include path. The folder's .qrc resources are compiled into an object
# library whose objects reach every executable that links <name>: a resource archived into a
# static library would otherwise never be registered, as nothing references its initializer.
function(evo_add_library name)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    evo_platform_sources(sources)
    file(GLOB resources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    if(NOT sources)
        return() # a folder whose first file has not been written yet
    endif()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    if(resources)
        add_library(${name}_resources OBJECT ${resources})
        target_link_libraries(${name}_resources PRIVATE Qt6::Core)
        target_sources(${name} INTERFACE $<TARGET_OBJECTS:${name}_resources>)
    endif()
endfunction()

# evo_add_windows_resources(<target> <description>): on Windows, the executable's icon, its version
# information (from the project's version) and its manifest, compiled in as resources.
function(evo_add_windows_resources target description)
    if(NOT WIN32)
        return()
    endif()
    set(EVO_RC_FILE_NAME "${target}.exe")
    set(EVO_RC_DESCRIPTION "${description}")
    set(EVO_RC_ICON "${PROJECT_SOURCE_DIR}/data/icons/windows/evolution-editor.ico")
    set(EVO_RC_MANIFEST "${PROJECT_SOURCE_DIR}/cmake/windows/app.manifest")
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/resources.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
endfunction()
