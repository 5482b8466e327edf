# The Qt transfer window, included from transfer/CMakeLists.txt when Qt is
# enabled. The window's sources form a static library of their own, so that
# the GUI tests and benchmarks drive the same window with the seams open;
# Vantor2 links it, together with the factory that chooses Qt or headless.
add_library(vantor_window_qt STATIC
  ${CMAKE_CURRENT_LIST_DIR}/qt_application.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qt_platform_choice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qt_transfer_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/transfer_window_qt.cpp)
target_include_directories(vantor_window_qt PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(vantor_window_qt PUBLIC vantor_run Qt6::Widgets)
if(WIN32)
  target_sources(vantor_window_qt PRIVATE ${CMAKE_CURRENT_LIST_DIR}/qt_platform_probe_win32.cpp)
else()
  # libxcb (Debian: libxcb1-dev) probes the X display before Qt starts on it.
  find_path(VANTOR_XCB_INCLUDE_DIR xcb/xcb.h REQUIRED)
  find_library(VANTOR_XCB_LIBRARY xcb REQUIRED)
  target_sources(vantor_window_qt PRIVATE ${CMAKE_CURRENT_LIST_DIR}/qt_platform_probe_posix.cpp)
  target_include_directories(vantor_window_qt PRIVATE ${VANTOR_XCB_INCLUDE_DIR})
  target_link_libraries(vantor_window_qt PRIVATE ${VANTOR_XCB_LIBRARY})
endif()
# No class of the window declares signals or slots: no moc run.
set_target_properties(vantor_window_qt PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON
  AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
vantor_warnings(vantor_window_qt)

target_sources(Vantor2 PRIVATE ${CMAKE_CURRENT_LIST_DIR}/window_factory_qt.cpp)
target_link_libraries(Vantor2 PRIVATE vantor_window_qt Qt6::Widgets)
set_target_properties(Vantor2 PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
