# The posix thread model: GoogleTest needs std::mutex, which win32 lacks.
set(CMAKE_C_COMPILER   ${EMBRIX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${EMBRIX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${EMBRIX_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${EMBRIX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No compiler runtime DLLs beside the saver: everything links statically.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Windows programs built here run under the 64-bit Wine loader, which Debian
# keeps off PATH beside Wine's libraries.
if(EMBRIX_MINGW_TRIPLE STREQUAL "x86_64-w64-mingw32")
  find_program(EMBRIX_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
  if(EMBRIX_WINE64)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${EMBRIX_WINE64})
  endif()
endif()
