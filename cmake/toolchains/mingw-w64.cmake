# Cross-building for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64-posix).
# The posix flavour gives std::thread and std::mutex; -static keeps the MinGW runtime
# DLLs out of the way, so the programs run anywhere, Wine included, as single files.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KESTRUNE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KESTRUNE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KESTRUNE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KESTRUNE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KESTRUNE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# CTest runs the Windows programs through Wine where it is installed.
find_program(KESTRUNE_WINE NAMES wine wine64)
if(KESTRUNE_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${KESTRUNE_WINE})
endif()
