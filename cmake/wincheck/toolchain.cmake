# Toolchain of scripts/wincheck: configures Velmora for Windows with MinGW
# against this machine's Qt, so that the build's own compile commands name
# every Windows source with its Windows flags. Nothing is built or linked
# with it: the Qt libraries found are Linux ones.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_PROJECT_INCLUDE ${CMAKE_CURRENT_LIST_DIR}/qt.cmake)
