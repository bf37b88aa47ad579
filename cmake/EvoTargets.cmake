# Helpers that keep each folder's CMakeLists.txt to one line: a folder is a library (or a test
# suite) made of every source file in it.

# evo_add_library(<name> [DEPS <targets...>]): a static library of the folder's sources and
# resources, with the folder on its public include path.
function(evo_add_library name)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/*.h
        ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    if(NOT sources)
        return() # a folder whose first file has not been written yet
    endif()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()
