# Cross-compiling for Windows with Debian's MinGW-w64; the including toolchain
# file sets CMAKE_SYSTEM_PROCESSOR and may set KOVNA_MINGW_THREADS to win32.
# The posix thread model (std::thread, GoogleTest) is the default; the win32
# one keeps winpthread, and with it Vista-only imports, out of the exe.
set(CMAKE_SYSTEM_NAME Windows)
set(TRIPLE ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
if(NOT KOVNA_MINGW_THREADS)
    set(KOVNA_MINGW_THREADS posix)
endif()
set(CMAKE_C_COMPILER ${TRIPLE}-gcc-${KOVNA_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${TRIPLE}-g++-${KOVNA_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
