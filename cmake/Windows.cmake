# The Windows build, cross-compiled with mingw-w64 (see cmake/toolchains/) and
# tested under Wine. Included from the top-level CMakeLists.txt when WIN32.
#
# Qt for Windows is not in Debian: the transfer window is the native Win32
# dialog. Debian's libgtest is built for Linux, so GoogleTest is compiled here
# from Debian's source package (/usr/src/googletest).
set(VANTOR_WITH_QT OFF CACHE BOOL "No Qt on Windows" FORCE)
set(VANTOR_GTEST_SOURCE /usr/src/googletest/googletest CACHE PATH "GoogleTest sources for the cross build")
# Linux programs the Windows tests talk to over a pseudo-terminal (hht-sim,
# pty-peer), from a native build.
set(VANTOR_LINUX_TOOLS "" CACHE PATH "Folder of the native hht-sim and pty-peer")

add_compile_definitions(NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)
find_package(Threads REQUIRED)
enable_testing()

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VANTOR_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Every Windows test program runs under Wine through this wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run)

set(VANTOR_SRC ${CMAKE_SOURCE_DIR}/transfer)

# The frame code: plain C++.
add_library(vantor_frame STATIC ${VANTOR_SRC}/link/frame.cpp)
target_include_directories(vantor_frame PUBLIC ${VANTOR_SRC}/link)
vantor_warnings(vantor_frame)

# The Win32 backends of the line and the text codec.
add_library(vantor_platform_win32 STATIC
  ${VANTOR_SRC}/link/com_line_win32.cpp
  ${VANTOR_SRC}/link/text_codec_win32.cpp
  ${VANTOR_SRC}/link/win32_error.cpp)
target_include_directories(vantor_platform_win32 PUBLIC ${VANTOR_SRC}/link)
target_link_libraries(vantor_platform_win32 PUBLIC Threads::Threads)
vantor_warnings(vantor_platform_win32)

# The native transfer window, built from the dialog template's data.
add_library(vantor_window_win32 STATIC
  ${VANTOR_SRC}/run/transfer_window_win32.cpp
  ${VANTOR_SRC}/res/dialog_template.cpp)
target_include_directories(vantor_window_win32 PUBLIC ${VANTOR_SRC}/run ${VANTOR_SRC}/res ${VANTOR_SRC}/link)
target_link_libraries(vantor_window_win32 PUBLIC comctl32 uxtheme)
vantor_warnings(vantor_window_win32)

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/windows/CMakeLists.txt)
  add_subdirectory(tests/windows)
endif()
