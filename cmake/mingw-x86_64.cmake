# Cross build for 64-bit Windows with Debian's mingw-w64 (posix thread
# variant), linked statically so the programs need no runtime DLLs.
set(KORVANREF_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
