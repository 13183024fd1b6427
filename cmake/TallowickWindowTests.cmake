# Windows-only tests: resources of the skin test program, the dialog layer, and the skin test
# dialog driven with a real pointer under Xvfb.

target_sources(tests_skin PRIVATE tests/skin/skin_test.rc)
set_property(SOURCE tests/skin/skin_test.rc APPEND PROPERTY INCLUDE_DIRECTORIES
             ${CMAKE_SOURCE_DIR}/tests/skin)
