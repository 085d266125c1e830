# The Linux program's tests: the Qt window offscreen and on an X server of
# its own, the command line, the install rules and the Debian package.
find_package(Qt6 REQUIRED COMPONENTS Test)
find_program(XVFB_RUN xvfb-run REQUIRED)
set(lsan LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/window/lsan.supp)

# The real window on Qt's offscreen platform.
add_executable(window_tests
  window/window_test_main.cpp
  window/form_window_behaviour_test.cpp
  window/form_window_layout_test.cpp
  window/plan_window_test.cpp
  window/regional_settings_test.cpp
)
target_link_libraries(window_tests PRIVATE ratalia_test_support ratalia_window ratalia_print_job Qt6::Test)
# The printing module beside the tests, as beside ratalia, where the program looks first.
add_custom_command(TARGET window_tests POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:ratalia-printing> $<TARGET_FILE_DIR:window_tests>)
add_dependencies(window_tests ratalia-printing)
ratalia_add_gtest(window window_tests)
# The separator follows the user's locale, whatever it is.
foreach(locale_separator IN ITEMS "it_IT.UTF-8=," "en_US.UTF-8=." "ar_EG.UTF-8=٫")
  string(REPLACE "=" ";" pair "${locale_separator}")
  list(GET pair 0 locale)
  list(GET pair 1 separator)
  ratalia_add_test(window.system_separator.${locale}
    COMMAND window_tests --gtest_filter=RegionalSettingsTest.system_locale_gives_the_separator
    ENVIRONMENT QT_QPA_PLATFORM=offscreen LC_ALL=${locale} RATALIA_EXPECTED_SEPARATOR=${separator})
endforeach()

# Saving and printing onto a full file system, mounted for the test alone.
add_executable(full_disk_tests window/window_test_main.cpp window/full_disk_test.cpp)
target_link_libraries(full_disk_tests PRIVATE ratalia_test_support ratalia_window ratalia_print_job Qt6::Test)
ratalia_add_test(window.full_disk_saves_nothing
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/window/full_disk.sh $<TARGET_FILE:full_disk_tests>
  ENVIRONMENT QT_QPA_PLATFORM=offscreen LC_ALL=it_IT.UTF-8)
set_tests_properties(window.full_disk_saves_nothing PROPERTIES SKIP_RETURN_CODE 77)

# Opening links needs a real desktop platform: an X server of our own.
add_executable(desktop_tests window/window_test_main.cpp window/desktop_link_opener_test.cpp)
target_link_libraries(desktop_tests PRIVATE ratalia_test_support ratalia_window Qt6::Test)
ratalia_add_test(window.links_reach_the_desktop COMMAND ${XVFB_RUN} -a $<TARGET_FILE:desktop_tests>
  ENVIRONMENT QT_QPA_PLATFORM=xcb)

# The keyboard for real: X key presses through XTest on the window.
find_package(X11 REQUIRED COMPONENTS Xtst)
find_library(XCB_LIBRARY xcb REQUIRED)
add_executable(real_keys_tests window/real_keys_test.cpp)
target_link_libraries(real_keys_tests PRIVATE ratalia_test_support ratalia_window Qt6::Test X11::X11 X11::Xtst
                      ${XCB_LIBRARY})
set(small_screen RealTabTest.the_plan_window_opens_inside_a_small_screen)
ratalia_add_test(keys.real_key_presses
  COMMAND ${XVFB_RUN} -a -s "-screen 0 640x480x24" $<TARGET_FILE:real_keys_tests> --gtest_filter=-${small_screen}
  ENVIRONMENT QT_QPA_PLATFORM=xcb LC_ALL=it_IT.UTF-8 ${lsan})
# The plan window on a 1280 × 900 screen at one and a half times the size.
ratalia_add_test(keys.plan_window_fits_a_small_screen
  COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x900x24" $<TARGET_FILE:real_keys_tests> --gtest_filter=${small_screen}
  ENVIRONMENT QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1.5 LC_ALL=it_IT.UTF-8 ${lsan})
# The same with only the fonts a new install gets (Liberation and the URW
# fonts, no DejaVu): their wider lines once cost the table three rows.
set(new_install_fonts ${CMAKE_CURRENT_BINARY_DIR}/new-install-fonts.conf)
file(WRITE ${new_install_fonts} "<?xml version=\"1.0\"?>\n<fontconfig>\n"
  "  <dir>/usr/share/fonts/truetype/liberation</dir>\n  <dir>/usr/share/fonts/opentype/urw-base35</dir>\n"
  "  <dir>/usr/share/fonts/type1/urw-base35</dir>\n  <cachedir>${CMAKE_CURRENT_BINARY_DIR}/fontconfig-cache</cachedir>\n"
  "  <include ignore_missing=\"yes\">/etc/fonts/conf.d</include>\n</fontconfig>\n")
ratalia_add_test(keys.plan_window_fits_a_small_screen_with_the_fonts_of_a_new_install
  COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x900x24" $<TARGET_FILE:real_keys_tests> --gtest_filter=${small_screen}
  ENVIRONMENT QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1.5 LC_ALL=it_IT.UTF-8 FONTCONFIG_FILE=${new_install_fonts} ${lsan})

# The program itself: no display, the plan on the command line.
set(app ${CMAKE_CURRENT_SOURCE_DIR}/app)
ratalia_add_test(app.stops_cleanly_without_display
  COMMAND bash ${app}/no_display_test.sh $<TARGET_FILE:ratalia> none)
ratalia_add_test(app.stops_cleanly_when_the_display_is_gone
  COMMAND bash ${app}/no_display_test.sh $<TARGET_FILE:ratalia> :4321)
ratalia_add_test(app.prints_the_plan_without_a_window
  COMMAND bash ${app}/plan_command_test.sh $<TARGET_FILE:ratalia>)
# What a screen reader reads of both windows, over AT-SPI.
ratalia_add_test(app.screen_reader_reads_what_it_should
  COMMAND bash ${app}/accessibility_test.sh $<TARGET_FILE:ratalia> ENVIRONMENT ${lsan})

# Installed where the desktop looks, validated, and packaged.
set(packaging ${CMAKE_CURRENT_SOURCE_DIR}/packaging)
ratalia_add_test(packaging.install_puts_every_file_in_place SERIAL
  COMMAND bash ${packaging}/install_test.sh ${PROJECT_BINARY_DIR} ${RATALIA_APP_ID} $<TARGET_FILE:window_tests>)
ratalia_add_test(packaging.debian_package_holds_every_file SERIAL
  COMMAND bash ${packaging}/deb_test.sh ${PROJECT_BINARY_DIR} ${RATALIA_APP_ID})
