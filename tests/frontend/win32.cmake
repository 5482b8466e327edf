# RTKelvane's Win32 windows under Wine on a display (Xvfb through
# scripts/with-display): in-process tests of the windows with their
# resources, and whole runs of RTKelvane.exe against hht-sim on COM1.
# Screenshots go to the build's test-artifacts folder, not to the
# deliverables' artifacts folder.
set(RTK_TEST_ARTIFACTS ${CMAKE_BINARY_DIR}/test-artifacts)
file(MAKE_DIRECTORY ${RTK_TEST_ARTIFACTS})

add_executable(rtk_windows_test win32/rtk_windows_test.cpp ${PROJECT_SOURCE_DIR}/tests/windows/screenshot_win32.cpp)
target_include_directories(rtk_windows_test PRIVATE win32 ${PROJECT_SOURCE_DIR}/tests/windows)
target_link_libraries(rtk_windows_test PRIVATE rtkelvane_win32 rtkelvane_resources GTest::gtest_main gdi32)
vantor_warnings(rtk_windows_test)
add_test(NAME rtk_windows
         COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-display ${PROJECT_SOURCE_DIR}/scripts/wine-run
                 $<TARGET_FILE:rtk_windows_test>)
set_tests_properties(rtk_windows PROPERTIES
  ENVIRONMENT "${VANTOR_WINE_TEST_ENV};VANTOR_ARTIFACTS=${RTK_TEST_ARTIFACTS}"
  RESOURCE_LOCK display TIMEOUT 300 LABELS "frontend;windows")

# Whole runs through RTKelvane.exe, driven through its window by rtk_driver.
add_executable(rtk_driver win32/rtk_driver.cpp)
target_include_directories(rtk_driver PRIVATE ${PROJECT_SOURCE_DIR}/frontend/res)
target_link_libraries(rtk_driver PRIVATE psapi)
vantor_warnings(rtk_driver)
foreach(direction receive send)
  add_test(NAME rtk_${direction}_run
           COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-display ${CMAKE_CURRENT_SOURCE_DIR}/win32/rtk_run.sh ${direction}
                   $<TARGET_FILE:RTKelvane> $<TARGET_FILE:rtk_driver> $<TARGET_FILE:Vantor2>)
  set_tests_properties(rtk_${direction}_run PROPERTIES ENVIRONMENT "${VANTOR_WINE_TEST_ENV}"
                       RESOURCE_LOCK "com1;display" TIMEOUT 300 LABELS "frontend;windows")
endforeach()
