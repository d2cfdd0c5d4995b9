# Cross-build for Windows x86_64 with Debian's mingw-w64 (posix threads: std::mutex and friends).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
# libjpeg for this target is a static build of Debian's libjpeg-turbo source package that
# tools/build-libjpeg-mingw.sh makes in the source tree's build/deps/x86_64-w64-mingw32; the
# libraries and headers of the target are looked up there and in Debian's mingw-w64 tree.
get_filename_component(TAMIK_DEPS_PREFIX "${CMAKE_CURRENT_LIST_DIR}/../build/deps/x86_64-w64-mingw32" ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${TAMIK_DEPS_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
