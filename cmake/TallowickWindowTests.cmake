# Windows-only tests: resources of the skin test program, the dialog layer, and the skin test
# dialog driven with a real pointer under Xvfb.

target_sources(tests_skin PRIVATE tests/skin/skin_test.rc)
target_link_libraries(tests_skin PRIVATE comctl32)
set_property(SOURCE tests/skin/skin_test.rc APPEND PROPERTY INCLUDE_DIRECTORIES
             ${CMAKE_SOURCE_DIR}/tests/skin)

# The dialog layer: real windows, so the program needs the X display the test script starts.
tallowick_test_program(framework tw_framework)

# The skin test dialog, the driver that reads it from another process, and the script that
# moves a real pointer over it (xdotool on the X display) and saves screenshots.
add_executable(tallowick-skin-demo WIN32 tests/window/skin_demo_win32.cpp
               tests/window/skin_demo.rc)
target_link_libraries(tallowick-skin-demo PRIVATE tw_skin)
target_include_directories(tallowick-skin-demo PRIVATE tests/window)
set_property(SOURCE tests/window/skin_demo.rc APPEND PROPERTY INCLUDE_DIRECTORIES
             ${CMAKE_SOURCE_DIR}/tests/skin)
tallowick_utf8_manifest(tallowick-skin-demo)
add_executable(tallowick-driver tests/window/driver_win32.cpp)
tallowick_utf8_manifest(tallowick-driver)

add_test(NAME skin_dialog
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/window/skin_dialog_test.sh
                 ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:tallowick-skin-demo>
                 $<TARGET_FILE:tallowick-driver> ${CMAKE_BINARY_DIR}/screenshots)
set_tests_properties(skin_dialog PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77
                     ENVIRONMENT "${TALLOWICK_TEST_ENVIRONMENT}")
