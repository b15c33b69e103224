# Cross-compiles for 64-bit ARM Linux (a Raspberry Pi 3 or later on a 64-bit system) with
# Debian's g++-aarch64-linux-gnu, against the arm64 libraries that multiarch puts beside the
# build machine's own (tools/install-cross-deps.sh installs both). What it builds runs here
# under qemu-user, which is how CTest runs its tests.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
# Libraries and their CMake packages from lib/aarch64-linux-gnu only, never the build
# machine's lib/x86_64-linux-gnu; headers are shared between the two.
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64)
