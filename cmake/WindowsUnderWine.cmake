# A Windows build made on Linux runs its tests under Wine: CTest starts every test executable
# through build-windows/wine-run, which finds the Qt and MinGW DLLs in their own folders (as
# the installed program finds them beside itself) and gives Qt's offscreen platform, which under
# Wine reads fonts only from QT_QPA_FONTDIR (set in the Wine prefix: Wine hides the Unix one), the fonts the Linux tests see: Liberation Sans has
# the widths of the window's layout font, DejaVu Sans covers the rest.
if(NOT CMAKE_CROSSCOMPILING OR DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
    return()
endif()
find_program(EVO_WINE NAMES wine wine64)
if(NOT EVO_WINE)
    message(STATUS "Wine not found: the Windows tests can be built but not run here")
    return()
endif()

set(EVO_WINE_FONTS ${CMAKE_BINARY_DIR}/fonts)
file(MAKE_DIRECTORY ${EVO_WINE_FONTS})
file(GLOB fonts /usr/share/fonts/truetype/liberation2/*.ttf /usr/share/fonts/truetype/dejavu/*.ttf)
file(COPY ${fonts} DESTINATION ${EVO_WINE_FONTS})

# Wine's drive Z: is the Linux root.
function(evo_wine_path out unix)
    string(REPLACE "/" "\\" windows "Z:${unix}")
    set(${out} "${windows}" PARENT_SCOPE)
endfunction()
set(EVO_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(dirs)
foreach(dir IN LISTS EVO_DEPLOY_DLL_DIRS)
    evo_wine_path(dir "${dir}")
    list(APPEND dirs "${dir}")
endforeach()
set(EVO_WINE_DLL_DIRS "${dirs}")
evo_wine_path(EVO_WINE_FONTS_W "${EVO_WINE_FONTS}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/windows/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                                WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
