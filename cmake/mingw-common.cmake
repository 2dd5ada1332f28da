set(CMAKE_C_COMPILER ${TOLVANE_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOLVANE_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TOLVANE_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TOLVANE_TRIPLET})
# The cross-built libjpeg-turbo and libpng (tools/build-mingw-deps.sh).
if(TOLVANE_DEPS_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${TOLVANE_DEPS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# A self-contained program: no MinGW runtime DLLs beside the exe.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# zlib as a static library too (libz.a, not the import library of zlib1.dll), so that
# tolvane.exe needs no DLL beside it on Windows.
set(ZLIB_USE_STATIC_LIBS ON)
# A build folder configured before this line keeps the import library in its cache: look again.
if(ZLIB_LIBRARY_RELEASE MATCHES "\\.dll\\.a$")
  unset(ZLIB_LIBRARY_RELEASE CACHE)
endif()
