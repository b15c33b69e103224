# Cross-compiles for 64-bit Windows with Debian's mingw-w64 toolchain, so the game code is
# checked against the real SDK headers rather than our own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZOBU_MINGW_PREFIX x86_64-w64-mingw32)
# The POSIX-threads variant of Debian's two: its C++ library has std::mutex, which GoogleTest
# needs for the conformance tests built here; -static puts its threads library in the program.
set(CMAKE_C_COMPILER ${ZOBU_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZOBU_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZOBU_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZOBU_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
