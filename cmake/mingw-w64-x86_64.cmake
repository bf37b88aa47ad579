# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads, which Qt's
# std::thread and std::mutex need). Used both to build Qt for Windows and to build the editor.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(EVO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${EVO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${EVO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${EVO_MINGW_TRIPLE}-windres)

# Libraries and headers only from the MinGW tree (and whatever prefix the caller adds, such as
# the Windows Qt); programs from the build machine.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${EVO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
