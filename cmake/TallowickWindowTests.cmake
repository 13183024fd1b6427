# Windows-only tests: resources of the skin test program, the dialog layer, and the skin test
# dialog driven with a real pointer under Xvfb.

target_sources(tests_skin PRIVATE tests/skin/skin_test.rc)
set_property(SOURCE tests/skin/skin_test.rc APPEND PROPERTY INCLUDE_DIRECTORIES
             ${CMAKE_SOURCE_DIR}/tests/skin)

# The dialog layer: real windows, so the program needs the X display the test script starts.
tallowick_test_program(framework tw_framework)
target_sources(tests_framework PRIVATE tests/framework/framework_test.rc)
