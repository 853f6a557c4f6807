# Cross-compiles for 64-bit Windows with the POSIX-threads flavour of mingw-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(toolchainPrefix x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${toolchainPrefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${toolchainPrefix}-g++-posix)
set(CMAKE_RC_COMPILER ${toolchainPrefix}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${toolchainPrefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test binaries run under Wine through a launcher that keeps Wine's helpers off CTest's pipes.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-launch.sh)
