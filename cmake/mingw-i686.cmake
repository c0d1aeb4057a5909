# Cross-compiles the shipped Tarnwick.exe with mingw-w64, static runtime.
# The win32 thread model: the posix one links libwinpthread, which imports GetTickCount64 and so
# keeps the program from starting on Windows XP. The program is single-threaded and needs no
# thread runtime at all. The PE header asks for Windows 2000 (subsystem 5.0), so the loader of
# every system from Windows 2000 on accepts the image; tools/check-xp-imports.py holds the
# imports to what Windows XP SP3 exports.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,--major-subsystem-version,5,--minor-subsystem-version,0,--major-os-version,5,--minor-os-version,0")
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
