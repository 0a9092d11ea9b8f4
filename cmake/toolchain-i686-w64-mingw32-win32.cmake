# The released i686 exe: MinGW-w64 with the win32 thread model.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KOVNA_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
