# Cross-compiles a 64-bit build, which serves only to measure the code (make bench64).
set(MORVANE_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
