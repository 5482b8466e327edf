# RTKelvane's Win32 windows under Wine on a display (Xvfb through
# scripts/with-display): in-process tests of the windows with their
# resources, and whole runs of RTKelvane.exe against hht-sim on COM1.
# Screenshots go to the build folder's screenshots/, beside the transfer window's, not to the
# deliverables' artifacts folder.
set(RTK_TEST_ARTIFACTS ${CMAKE_BINARY_DIR}/screenshots)
file(MAKE_DIRECTORY ${RTK_TEST_ARTIFACTS})

add_executable(rtk_windows_test win32/rtk_windows_test.cpp ${PROJECT_SOURCE_DIR}/tests/windows/screenshot_win32.cpp)
target_include_directories(rtk_windows_test PRIVATE win32 ${PROJECT_SOURCE_DIR}/tests/windows)
target_link_libraries(rtk_windows_test PRIVATE rtkelvane_win32 rtkelvane_resources GTest::gtest_main gdi32)
vantor_warnings(rtk_windows_test)
# The transfers through the stand-in library run in a process of their own:
# on 32-bit Wine, after the other window tests in the same process, the -4
# message box of the next transfer never showed (not seen in a process of
# its own, nor on 64-bit Wine).
foreach(part windows transfers)
  if(part STREQUAL "windows")
    set(filter "-Transfers.*:Rows/ResultMessages.*")
  else()
    set(filter "Transfers.*:Rows/ResultMessages.*")
  endif()
  add_test(NAME rtk_${part}
           COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-display ${PROJECT_SOURCE_DIR}/scripts/wine-run
                   $<TARGET_FILE:rtk_windows_test> --gtest_filter=${filter})
  set_tests_properties(rtk_${part} PROPERTIES
    ENVIRONMENT "${VANTOR_WINE_TEST_ENV};VANTOR_SCREENSHOTS=${RTK_TEST_ARTIFACTS}"
    RESOURCE_LOCK display TIMEOUT 300 LABELS "frontend;windows")
endforeach()

# Whole runs through RTKelvane.exe, driven through its window by rtk_driver.
add_executable(rtk_driver win32/rtk_driver.cpp)
target_include_directories(rtk_driver PRIVATE ${PROJECT_SOURCE_DIR}/frontend/res)
target_link_libraries(rtk_driver PRIVATE psapi shell32)
vantor_warnings(rtk_driver)
foreach(direction receive send)
  add_test(NAME rtk_${direction}_run
           COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-display ${CMAKE_CURRENT_SOURCE_DIR}/win32/rtk_run.sh ${direction}
                   $<TARGET_FILE:RTKelvane> $<TARGET_FILE:rtk_driver> $<TARGET_FILE:Vantor2>)
  set_tests_properties(rtk_${direction}_run PROPERTIES ENVIRONMENT "${VANTOR_WINE_TEST_ENV}"
                       RESOURCE_LOCK "com1;display" TIMEOUT 300 LABELS "frontend;windows")
endforeach()

# The stand-in transfer library (tests/frontend/support), as a DLL: it records
# the arguments of RunVantor and returns the result a test chose. Its exports
# keep their plain names on 32-bit Windows too, like Vantor2.dll's.
add_library(vantor_standin SHARED support/standin_vantor.cpp)
target_include_directories(vantor_standin PUBLIC support)
target_link_libraries(vantor_standin PUBLIC vantor_api)
set_target_properties(vantor_standin PROPERTIES PREFIX "")
# It exports what vantor2.h declares, as Vantor2.dll does.
target_compile_definitions(vantor_standin PRIVATE VANTOR2_BUILDING_DLL)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  target_link_options(vantor_standin PRIVATE -Wl,--enable-stdcall-fixup -Wl,--kill-at)
endif()
vantor_warnings(vantor_standin)
target_link_libraries(rtk_windows_test PRIVATE vantor_api)
target_include_directories(rtk_windows_test PRIVATE support)
add_dependencies(rtk_windows_test vantor_standin)
target_compile_definitions(rtk_windows_test PRIVATE STANDIN_DLL=L"$<TARGET_FILE_NAME:vantor_standin>")
