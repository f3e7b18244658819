# Cross toolchain for the x86_64 build of the same sources, which runs under Wine here:
# MinGW-w64 x86_64, posix thread model.
set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
