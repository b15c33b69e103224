# Cross-compiles for 32-bit ARM Linux (Raspberry Pi OS's 32-bit edition, Debian's armhf: ARMv7
# with VFPv3, NEON left to run time) with Debian's g++-arm-linux-gnueabihf, against the armhf
# libraries of multiarch (tools/install-cross-deps.sh armhf). Tests run under qemu-arm.
set(ZOBU_CROSS_TRIPLET arm-linux-gnueabihf)
set(ZOBU_CROSS_PROCESSOR armv7l)
set(ZOBU_CROSS_EMULATOR qemu-arm)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
