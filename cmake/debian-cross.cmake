# What the Linux cross builds share, included by a toolchain file that first sets
# ZOBU_CROSS_TRIPLET (Debian's name for the target: the compiler's prefix and the multiarch
# folder), ZOBU_CROSS_PROCESSOR and ZOBU_CROSS_EMULATOR (the qemu-user program that runs what
# is built, as CTest and the manual page do). Libraries and their CMake packages come from
# lib/TRIPLET only, never the build machine's own; headers are shared between the two.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${ZOBU_CROSS_PROCESSOR})
set(CMAKE_C_COMPILER ${ZOBU_CROSS_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${ZOBU_CROSS_TRIPLET}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${ZOBU_CROSS_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${ZOBU_CROSS_TRIPLET}/pkgconfig:/usr/share/pkgconfig)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZOBU_CROSS_EMULATOR})
