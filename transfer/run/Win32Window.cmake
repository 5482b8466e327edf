# Windows: the native transfer window, the exports by name (vantor2.def) and
# the version resource made from the version block. Included from
# transfer/run/CMakeLists.txt when WIN32 (and no Qt).
add_library(vantor_window_win32 STATIC ${CMAKE_CURRENT_LIST_DIR}/transfer_window_win32.cpp)
target_include_directories(vantor_window_win32 PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(vantor_window_win32 PUBLIC vantor_res comctl32 uxtheme)
vantor_warnings(vantor_window_win32)

# The version resource: written at configure time from version_block.cpp, so
# that the DLL's VERSIONINFO and VantorVersion() tell the same.
include(${CMAKE_SOURCE_DIR}/cmake/VersionResource.cmake)
vantor_version_resource(${CMAKE_CURRENT_LIST_DIR}/../res/version_block.cpp ${CMAKE_CURRENT_BINARY_DIR}/vantor2.rc)

target_sources(Vantor2 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/window_factory_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/vantor2.def
  ${CMAKE_CURRENT_BINARY_DIR}/vantor2.rc)
target_link_libraries(Vantor2 PRIVATE vantor_window_win32)
# "Vantor2.dll", the name callers load; exports undecorated by name: on i686
# the stdcall names (RunVantor@24) are taken for the .def's plain ones.
set_target_properties(Vantor2 PROPERTIES PREFIX "" IMPORT_PREFIX "")
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  target_link_options(Vantor2 PRIVATE -Wl,--enable-stdcall-fixup -Wl,--kill-at)
endif()
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001" PARENT_SCOPE)
