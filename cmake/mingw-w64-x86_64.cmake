# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix):
#   cmake --preset windows   (CMakePresets.json: build/windows with this file)
# The -posix compilers use winpthreads, which std::thread and GoogleTest need. Programs are
# linked fully statically, so they import nothing but the DLLs of Windows itself.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KEGVERTER_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KEGVERTER_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KEGVERTER_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KEGVERTER_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KEGVERTER_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Test programs run under Wine on the build machine (Debian's wine64).
find_program(KEGVERTER_WINE NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT KEGVERTER_WINE)
  find_program(KEGVERTER_WINE NAMES wine64 wine)
endif()
find_program(KEGVERTER_WINESERVER NAMES wineserver PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT KEGVERTER_WINESERVER)
  find_program(KEGVERTER_WINESERVER NAMES wineserver)
endif()
if(KEGVERTER_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KEGVERTER_WINE})
endif()
