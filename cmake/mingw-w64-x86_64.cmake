# Cross-compiles the Windows programs (zmrimage.exe, zmrimage-gui.exe and the
# test runner) with Debian's MinGW-w64. The posix thread model gives
# std::thread and std::mutex; the runtime is linked in statically, so each .exe
# runs on a bare Windows without extra DLLs.
#
#   cmake -S . -B build/windows -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZMR_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${ZMR_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZMR_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZMR_MINGW_TRIPLET}-windres)

# Libraries and headers come from the MinGW tree only, never the host's.
set(CMAKE_FIND_ROOT_PATH /usr/${ZMR_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Release builds at -O2 as the Linux build does: GCC 12 at -O3 reports false
# overlaps (-Wrestrict) inside std::string's concatenation.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of a Release build")
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of a Release build")

# ctest runs the Windows test programs under Wine.
find_program(ZMR_WINE NAMES wine64 wine)
if(ZMR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZMR_WINE})
endif()
