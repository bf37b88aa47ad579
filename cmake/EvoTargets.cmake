# Helpers that keep each folder's CMakeLists.txt to one line: a folder is a library made of every
# source file in it.

# evo_add_library(<name> [DEPS <targets...>]): a static library of the folder's sources, with the
# folder on its public include path. The folder's .qrc resources are compiled into an object
# library whose objects reach every executable that links <name>: a resource archived into a
# static library would otherwise never be registered, as nothing references its initializer.
function(evo_add_library name)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
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
