# The Windows program's tests, under Wine (the 32-bit build's under a 32-bit
# Wine of its own): the real window through its message loop, the installer
# and the zip, and the same output as the Linux build.
set(RATALIA_LINUX_PROGRAM "" CACHE FILEPATH "The Linux ratalia whose command line the Windows one must match")
set(RATALIA_INSTALLER "" CACHE FILEPATH "The installer (a 32-bit program) the 32-bit build installs on 32- and 64-bit Windows")
set(wine ${CMAKE_CROSSCOMPILING_EMULATOR})
set(scripts ${CMAKE_CURRENT_SOURCE_DIR}/win32)
find_program(XVFB_RUN xvfb-run REQUIRED)

add_executable(win32_window_tests win32/window_test.cpp)
target_link_libraries(win32_window_tests PRIVATE ratalia_test_support ratalia_win32 winspool GTest::gtest_main)
# A large screen: room for the plan window beside the main one.
ratalia_add_test(win32.window COMMAND bash ${scripts}/on_display.sh 1920x1080x24 ${wine} $<TARGET_FILE:win32_window_tests>
  --gtest_filter=-Win32PlanFilesTest.*)

# Silent install, start, silent uninstall, in a Wine prefix of its own: the
# installer's 64-bit twin under the machine's 64-bit Wine; the installer
# itself, a 32-bit program, under the 32-bit Wine, on a 32-bit Windows and on
# a 64-bit one; and the installer holds both programs.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686" AND RATALIA_INSTALLER)
  ratalia_add_test(win32.installer_on_32_and_64_bit_windows
    COMMAND bash ${scripts}/installer32_test.sh ${wine} ${RATALIA_INSTALLER})
endif()
if(MAKENSIS AND RATALIA_WINDOWS_32_BIT_PROGRAM)
  ratalia_add_test(win32.installer
    COMMAND bash ${scripts}/installer_test.sh ${wine} ${PROJECT_BINARY_DIR}/ratalia-${PROJECT_VERSION}-setup-amd64-test.exe)
  ratalia_add_test(win32.installer_holds_both_programs
    COMMAND bash ${scripts}/installer_contents_test.sh ${PROJECT_BINARY_DIR}/ratalia-${PROJECT_VERSION}-setup.exe
            $<TARGET_FILE:ratalia> ${RATALIA_WINDOWS_32_BIT_PROGRAM})
endif()
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  # Each program imports only what every Windows has.
  ratalia_add_test(win32.programs_import_only_system_libraries
    COMMAND bash ${scripts}/imports_test.sh $<TARGET_FILE:ratalia> ${RATALIA_WINDOWS_32_BIT_PROGRAM})
  # The zip holds the program, the README and the license.
  set(zip_root ratalia-${PROJECT_VERSION})
  ratalia_add_test(win32.zip_holds_three_files
    COMMAND bash -c "${CMAKE_COMMAND} -E tar tf $0 | sort | tr '\\n' ' ' | grep -qx '${zip_root}/ ${zip_root}/LICENSE.txt ${zip_root}/README.md ${zip_root}/ratalia.exe '"
            ${PROJECT_BINARY_DIR}/ratalia-${PROJECT_VERSION}-windows.zip)
endif()
if(RATALIA_LINUX_PROGRAM)
  # The plan window's CSV and printout against the Linux program's.
  ratalia_add_test(win32.plan_window_files_as_on_linux
    COMMAND bash ${scripts}/plan_files_test.sh ${RATALIA_LINUX_PROGRAM} ${wine} $<TARGET_FILE:win32_window_tests>)
  ratalia_add_test(win32.same_plan_as_linux
    COMMAND bash ${scripts}/same_plan.sh ${RATALIA_LINUX_PROGRAM} ${wine} $<TARGET_FILE:ratalia>)
endif()
