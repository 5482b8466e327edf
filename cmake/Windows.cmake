# The Windows build, cross-compiled with mingw-w64 (see cmake/toolchains/) and
# tested under Wine. Included from the top-level CMakeLists.txt when WIN32:
# the library with its Win32 platform files and native window, vantor.exe,
# and the tests that run as Windows programs.
#
# Qt for Windows is not in Debian: the transfer window is the native Win32
# dialog. Debian's libgtest is built for Linux, so GoogleTest is compiled here
# from Debian's source package (/usr/src/googletest). hht-sim and the
# pseudo-terminal tests are Linux programs; the Windows tests talk to them.
set(VANTOR_WITH_QT OFF CACHE BOOL "No Qt on Windows" FORCE)
set(VANTOR_BUILD_BENCH OFF CACHE BOOL "Benchmarks run on Linux" FORCE)
set(VANTOR_GTEST_SOURCE /usr/src/googletest/googletest CACHE PATH "GoogleTest sources for the cross build")
set(VANTOR_LINUX_TOOLS "" CACHE PATH "Folder of the native hht-sim and pty-peer")

add_compile_definitions(NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)
find_package(Threads REQUIRED)
enable_testing()

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VANTOR_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Every Windows test program runs under Wine through this wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run)

add_subdirectory(${CMAKE_SOURCE_DIR}/transfer ${CMAKE_BINARY_DIR}/transfer)
add_subdirectory(${CMAKE_SOURCE_DIR}/ports ${CMAKE_BINARY_DIR}/ports)
add_subdirectory(${CMAKE_SOURCE_DIR}/tools/vantor ${CMAKE_BINARY_DIR}/tools/vantor)
add_subdirectory(${CMAKE_SOURCE_DIR}/tests/windows ${CMAKE_BINARY_DIR}/tests/windows)
