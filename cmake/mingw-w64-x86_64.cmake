# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DVANTOREL_BOXSIM=$PWD/build/vantorel-boxsim
# builds what needs no Qt; with -DVANTOREL_QT_WINDOWS=<the folder scripts/build-qt-windows.sh
# prints> it builds the whole program against that static Qt. ctest runs the tests under Wine
# (wine64) against the native simulated box.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_prefix x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_prefix}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_prefix} ${VANTOREL_QT_WINDOWS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime libraries go into each program, so Wine (or a bare Windows) needs no DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/run-under-wine.sh)
if(VANTOREL_QT_WINDOWS)
  # Qt's code generators (moc, rcc, uic) are the Linux build's own, of the same version.
  set(QT_HOST_PATH /usr)
  set(VANTOREL_GUI ON CACHE BOOL "The whole program, against the static Qt for Windows")
else()
  set(VANTOREL_GUI OFF CACHE BOOL "No Qt for Windows in this build")
endif()
