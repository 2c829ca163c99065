# Shared part of the MinGW-w64 toolchains (Debian's posix-threads compilers).
set(CMAKE_C_COMPILER ${PROJECT_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PROJECT_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PROJECT_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PROJECT_MINGW_TRIPLE})
# Third-party libraries built by scripts/mingw-deps.sh.
get_filename_component(_project_root "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)
set(PROJECT_MINGW_DEPS_DIR "${_project_root}/build/mingw-deps/${PROJECT_MINGW_TRIPLE}"
    CACHE PATH "Prefix of the MinGW third-party libraries")
list(APPEND CMAKE_FIND_ROOT_PATH ${PROJECT_MINGW_DEPS_DIR})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Tests run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${_project_root}/scripts/wine-run.sh)
# Link zlib statically (libz.a), not through the import library of zlib1.dll:
# the program must not need DLLs beyond the system's.
set(ZLIB_USE_STATIC_LIBS ON)
