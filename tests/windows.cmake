# The Windows program's tests, under Wine: the real window through its message
# loop, the installer and the zip, and the same output as the Linux build.
set(RATALIA_LINUX_PROGRAM "" CACHE FILEPATH "The Linux ratalia whose command line the Windows one must match")
set(wine ${CMAKE_CROSSCOMPILING_EMULATOR})
set(scripts ${CMAKE_CURRENT_SOURCE_DIR}/win32)
find_program(XVFB_RUN xvfb-run REQUIRED)

add_executable(win32_window_tests win32/window_test.cpp)
target_link_libraries(win32_window_tests PRIVATE ratalia_test_support ratalia_win32 winspool GTest::gtest_main)
ratalia_add_test(win32.window COMMAND ${XVFB_RUN} -a ${wine} $<TARGET_FILE:win32_window_tests>
  --gtest_filter=-Win32PlanFilesTest.*)

# Silent install, start, silent uninstall, in a Wine prefix of its own: the
# installer's 64-bit twin, as Wine here runs no 32-bit code; and the
# installer itself holds both programs.
if(MAKENSIS AND RATALIA_WINDOWS_32_BIT_PROGRAM)
  ratalia_add_test(win32.installer
    COMMAND bash ${scripts}/installer_test.sh ${wine} ${PROJECT_BINARY_DIR}/ratalia-${PROJECT_VERSION}-setup-amd64-test.exe)
  ratalia_add_test(win32.installer_holds_both_programs
    COMMAND bash ${scripts}/installer_contents_test.sh ${PROJECT_BINARY_DIR}/ratalia-${PROJECT_VERSION}-setup.exe
            $<TARGET_FILE:ratalia> ${RATALIA_WINDOWS_32_BIT_PROGRAM})
endif()
# Each program imports only what every Windows has.
ratalia_add_test(win32.programs_import_only_system_libraries
  COMMAND bash ${scripts}/imports_test.sh $<TARGET_FILE:ratalia> ${RATALIA_WINDOWS_32_BIT_PROGRAM})
# The zip holds the program, the README and the license.
set(zip_root ratalia-${PROJECT_VERSION})
ratalia_add_test(win32.zip_holds_three_files
  COMMAND bash -c "${CMAKE_COMMAND} -E tar tf $0 | sort | tr '\\n' ' ' | grep -qx '${zip_root}/ ${zip_root}/LICENSE.txt ${zip_root}/README.md ${zip_root}/ratalia.exe '"
          ${PROJECT_BINARY_DIR}/ratalia-${PROJECT_VERSION}-windows.zip)
if(RATALIA_LINUX_PROGRAM)
  # The plan window's CSV and printout against the Linux program's.
  ratalia_add_test(win32.plan_window_files_as_on_linux
    COMMAND bash ${scripts}/plan_files_test.sh ${RATALIA_LINUX_PROGRAM} ${wine} $<TARGET_FILE:win32_window_tests>)
  ratalia_add_test(win32.same_plan_as_linux
    COMMAND bash ${scripts}/same_plan.sh ${RATALIA_LINUX_PROGRAM} ${wine} $<TARGET_FILE:ratalia>)
endif()
