# Flags of the released exe: built for size, stripped, the same bytes from
# any checkout path and at any time, and marked for the oldest Windows each
# arch supports (XP SP3 for i686, 64-bit Vista for x86_64).
add_compile_options(-ffunction-sections -fdata-sections
    -ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)
add_link_options(-s -Wl,--gc-sections -Wl,--no-insert-timestamp)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(KOVNA_MIN_WINDOWS 5 1)
else()
    set(KOVNA_MIN_WINDOWS 6 0)
endif()
list(GET KOVNA_MIN_WINDOWS 0 major)
list(GET KOVNA_MIN_WINDOWS 1 minor)
add_link_options(
    -Wl,--major-subsystem-version,${major} -Wl,--minor-subsystem-version,${minor}
    -Wl,--major-os-version,${major} -Wl,--minor-os-version,${minor})
