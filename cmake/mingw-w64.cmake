# Cross build of the Windows program with mingw-w64 on Linux:
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The tests built here run under Wine, through tests/wine/wine-run.sh with a
# Wine prefix of their own inside the build directory.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(RPTCONV_MINGW_TRIPLE x86_64-w64-mingw32)
# The POSIX thread model, where installed: the index's fleet thread and
# GoogleTest need std::thread and std::mutex, which the win32 model of GCC 12
# lacks.
find_program(CMAKE_C_COMPILER NAMES ${RPTCONV_MINGW_TRIPLE}-gcc-posix ${RPTCONV_MINGW_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${RPTCONV_MINGW_TRIPLE}-g++-posix ${RPTCONV_MINGW_TRIPLE}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${RPTCONV_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${RPTCONV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

get_filename_component(RPTCONV_WINE_RUN ${CMAKE_CURRENT_LIST_DIR}/../tests/wine/wine-run.sh ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${RPTCONV_WINE_RUN} ${CMAKE_BINARY_DIR}/wineprefix)
