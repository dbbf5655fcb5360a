# Cross-compiles the Windows flavour with MinGW-w64 (64-bit).
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DLORVEX_TESTS=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LORVEX_MINGW_TRIPLE x86_64-w64-mingw32)

# The posix thread model (std::thread and std::mutex without extra headers) when installed, else
# whichever model the plain name points to.
find_program(LORVEX_MINGW_CXX NAMES ${LORVEX_MINGW_TRIPLE}-g++-posix ${LORVEX_MINGW_TRIPLE}-g++)
if(NOT LORVEX_MINGW_CXX)
    message(FATAL_ERROR "No MinGW-w64 C++ compiler: install g++-mingw-w64-x86-64-posix")
endif()
set(CMAKE_CXX_COMPILER ${LORVEX_MINGW_CXX})
find_program(LORVEX_MINGW_WINDRES NAMES ${LORVEX_MINGW_TRIPLE}-windres)
if(LORVEX_MINGW_WINDRES)
    set(CMAKE_RC_COMPILER ${LORVEX_MINGW_WINDRES})
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${LORVEX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Lets ctest run the .exe programs under Wine where it is installed.
find_program(LORVEX_WINE NAMES wine)
if(LORVEX_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${LORVEX_WINE})
endif()
