# A second compiler for the same sources: Debian's clang for i686 Windows,
# against the mingw-w64 headers and libraries, linked by lld. It keeps the
# code to what more than one compiler accepts; its exe is built, not shipped.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER   clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET   i686-w64-mingw32)
set(CMAKE_CXX_COMPILER_TARGET i686-w64-mingw32)
set(CMAKE_RC_COMPILER  i686-w64-mingw32-windres)
# mingw-w64's archiver, so that llvm's tools are not needed as well.
set(CMAKE_AR     /usr/bin/i686-w64-mingw32-ar)
set(CMAKE_RANLIB /usr/bin/i686-w64-mingw32-ranlib)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Debian's clang finds the C headers of mingw-w64 but not its C++ library,
# which lives with mingw-w64's gcc (posix threads, as in the gcc build).
file(GLOB _postlark_gcc_dirs /usr/lib/gcc/i686-w64-mingw32/*-posix)
list(SORT _postlark_gcc_dirs COMPARE NATURAL)
list(POP_BACK _postlark_gcc_dirs _postlark_gcc)
if(NOT _postlark_gcc)
  message(FATAL_ERROR "clang-i686: no mingw-w64 gcc (posix) in /usr/lib/gcc/i686-w64-mingw32")
endif()
set(CMAKE_CXX_FLAGS_INIT
  "-isystem ${_postlark_gcc}/include/c++ -isystem ${_postlark_gcc}/include/c++/i686-w64-mingw32")
# That C++ library takes its threads from winpthreads.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -static -L${_postlark_gcc} -lpthread")
