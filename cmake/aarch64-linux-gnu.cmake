# Cross-compiles for 64-bit ARM Linux (a Raspberry Pi 3 or later on a 64-bit system) with
# Debian's g++-aarch64-linux-gnu, against the arm64 libraries that multiarch puts beside the
# build machine's own (tools/install-cross-deps.sh installs both). What it builds runs here
# under qemu-user, which is how CTest runs its tests.
set(ZOBU_CROSS_TRIPLET aarch64-linux-gnu)
set(ZOBU_CROSS_PROCESSOR aarch64)
set(ZOBU_CROSS_EMULATOR qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
