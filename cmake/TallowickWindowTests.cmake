# Windows-only tests: resources of the skin test program, the dialog layer, and the skin test
# dialog that tests/app drives with a real pointer under Xvfb.

target_sources(tests_skin PRIVATE tests/skin/skin_test.rc)
target_link_libraries(tests_skin PRIVATE comctl32)
set_property(SOURCE tests/skin/skin_test.rc APPEND PROPERTY INCLUDE_DIRECTORIES
             ${CMAKE_SOURCE_DIR}/tests/skin)

# The dialog layer: real windows, so the program needs the X display the test script starts.
tallowick_test_program(framework tw_framework)

# The skin test dialog: an image button and link labels whose launcher shows the target.
add_executable(tallowick-skin-demo WIN32 tests/window/skin_demo_win32.cpp
               tests/window/skin_demo.rc)
target_link_libraries(tallowick-skin-demo PRIVATE tw_skin)
target_include_directories(tallowick-skin-demo PRIVATE tests/window)
set_property(SOURCE tests/window/skin_demo.rc APPEND PROPERTY INCLUDE_DIRECTORIES
             ${CMAKE_SOURCE_DIR}/tests/skin)
tallowick_utf8_manifest(tallowick-skin-demo)

# Tallowick.exe whose taskbar calls and clock are a recorder's (tests/window/app_seams_win32.cpp).
add_executable(tallowick-seams WIN32 tests/window/app_seams_win32.cpp)
target_link_libraries(tallowick-seams PRIVATE tw_app tw_resources)
