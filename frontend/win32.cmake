# RTKelvane.exe: the native Win32 windows on top of the rules. Its pictures
# are drawn by the Linux side of scripts/build-windows (Qt draws them there)
# as BMP and ICO files; VANTOR_WIN_PICTURES names their folder. The resource
# script carries them, the manifest (common controls 6, DPI aware,
# asInvoker) and the version resource; it is an object library, so that the
# window tests, which load the same pictures, link it too.
set(VANTOR_WIN_PICTURES "" CACHE PATH "Folder of RTKelvane's pictures for Windows (rtk_windows_pictures)")
if(NOT EXISTS "${VANTOR_WIN_PICTURES}/rtkelvane.ico")
  message(FATAL_ERROR "RTKelvane: no pictures in VANTOR_WIN_PICTURES='${VANTOR_WIN_PICTURES}'; "
                      "scripts/build-windows draws them (target rtk_windows_pictures of a Linux build)")
endif()

target_include_directories(rtkelvane_win32 PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/res)
target_link_libraries(rtkelvane_win32 PUBLIC rtkelvane_rules comctl32 gdi32)
# The wide-character API throughout: Korean texts are shown exactly.
target_compile_definitions(rtkelvane_win32 PUBLIC UNICODE _UNICODE)
vantor_warnings(rtkelvane_win32)

set(RTK_VERSION_COMMAS ${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},${PROJECT_VERSION_TWEAK})
configure_file(res/RTKelvane.rc.in ${CMAKE_CURRENT_BINARY_DIR}/RTKelvane.rc @ONLY)
configure_file(res/RTKelvane.manifest.in ${CMAKE_CURRENT_BINARY_DIR}/RTKelvane.manifest @ONLY)
add_library(rtkelvane_resources OBJECT ${CMAKE_CURRENT_BINARY_DIR}/RTKelvane.rc)
target_include_directories(rtkelvane_resources PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/res)
file(GLOB RTK_WIN_PICTURE_FILES ${VANTOR_WIN_PICTURES}/*)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/RTKelvane.rc PROPERTIES
  OBJECT_DEPENDS "${RTK_WIN_PICTURE_FILES};${CMAKE_CURRENT_BINARY_DIR}/RTKelvane.manifest")

add_executable(RTKelvane WIN32 main/main_win32.cpp)
target_link_libraries(RTKelvane PRIVATE rtkelvane_win32 rtkelvane_resources)
vantor_warnings(RTKelvane)
