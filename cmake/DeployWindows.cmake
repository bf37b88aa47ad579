# The Windows install as a folder a user can unzip and run: the executables, the Qt DLLs and the
# plugins they load (the windows platform and the native style), the MinGW runtime DLLs they
# import, the README and the licence texts of what is shipped.

set(EVO_QT_PREFIX "${QT6_INSTALL_PREFIX}")
set(EVO_DEPLOY_PLUGINS
    "${EVO_QT_PREFIX}/${QT6_INSTALL_PLUGINS}/platforms/qwindows.dll"
    "${EVO_QT_PREFIX}/${QT6_INSTALL_PLUGINS}/styles/qwindowsvistastyle.dll")
# Where the DLLs come from: Qt's bin folder and the compiler's runtime folders.
set(EVO_DEPLOY_DLL_DIRS "${EVO_QT_PREFIX}/${QT6_INSTALL_BINS}")
foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(IS_ABSOLUTE "${found}" AND EXISTS "${found}")
        get_filename_component(dir "${found}" DIRECTORY)
        list(APPEND EVO_DEPLOY_DLL_DIRS "${dir}")
    endif()
endforeach()
list(REMOVE_DUPLICATES EVO_DEPLOY_DLL_DIRS)
find_program(EVO_OBJDUMP NAMES ${EVO_MINGW_TRIPLE}-objdump objdump REQUIRED)

install(FILES README.md DESTINATION ${CMAKE_INSTALL_BINDIR})
if(EXISTS "${EVO_QT_PREFIX}/licenses")
    install(DIRECTORY "${EVO_QT_PREFIX}/licenses/" DESTINATION ${CMAKE_INSTALL_BINDIR}/licenses/qt)
endif()
# The MinGW runtime: libstdc++ and libgcc (GPL with the GCC runtime library exception) and
# winpthreads, as Debian's packages describe them.
foreach(package gcc-mingw-w64-base mingw-w64-common)
    if(EXISTS /usr/share/doc/${package}/copyright)
        install(FILES /usr/share/doc/${package}/copyright DESTINATION ${CMAKE_INSTALL_BINDIR}/licenses/mingw-w64
                RENAME ${package}.txt)
    endif()
endforeach()

install(CODE "set(EVO_DEPLOY_BIN \"${CMAKE_INSTALL_BINDIR}\")
              set(EVO_DEPLOY_PLUGINS \"${EVO_DEPLOY_PLUGINS}\")
              set(EVO_DEPLOY_DLL_DIRS \"${EVO_DEPLOY_DLL_DIRS}\")
              set(EVO_OBJDUMP \"${EVO_OBJDUMP}\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/DeployWindowsImports.cmake)
