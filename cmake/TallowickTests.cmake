# Test programs: one GoogleTest program per folder under tests/, each registered as one CTest
# test (under Wine every process start costs time, so the cases run inside one process).

if(WIN32)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  set(TALLOWICK_GTEST gtest gtest_main)
  # The Linux folders are visible to Wine programs on drive Z:.
  set(TALLOWICK_SAMPLES_DIR "Z:${CMAKE_SOURCE_DIR}/tests/samples")
  set(TALLOWICK_MEDIA_SAMPLES_DIR "Z:${CMAKE_SOURCE_DIR}/tests/media_samples")
  # Wine turns Windows names into Linux file names in the locale's character set: without a
  # UTF-8 locale no Chinese name could be created.
  set(TALLOWICK_TEST_ENVIRONMENT
      "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix" "WINEDEBUG=-all" "WINEDLLOVERRIDES=mscoree,mshtml="
      "LC_ALL=C.UTF-8")
else()
  find_package(GTest REQUIRED)
  set(TALLOWICK_GTEST GTest::gtest GTest::gtest_main)
  set(TALLOWICK_SAMPLES_DIR "${CMAKE_SOURCE_DIR}/tests/samples")
  set(TALLOWICK_MEDIA_SAMPLES_DIR "${CMAKE_SOURCE_DIR}/tests/media_samples")
  set(TALLOWICK_TEST_ENVIRONMENT)
endif()

tallowick_sources(TEST_SUPPORT_SOURCES tests/support)
add_library(tw_test_support STATIC ${TEST_SUPPORT_SOURCES})
target_include_directories(tw_test_support PUBLIC tests/support)
# The album generator's SetLocalWriteTime serves the tests too.
target_link_libraries(tw_test_support PUBLIC tw_album tw_jpeg_builder tw_platform ${TALLOWICK_GTEST})
target_compile_definitions(tw_test_support PUBLIC
  TALLOWICK_SAMPLES_DIR="${TALLOWICK_SAMPLES_DIR}"
  TALLOWICK_MEDIA_SAMPLES_DIR="${TALLOWICK_MEDIA_SAMPLES_DIR}")

function(tallowick_test_program name)
  tallowick_sources(sources tests/${name})
  if(NOT sources)
    return()
  endif()
  set(target tests_${name})
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE tw_test_support ${ARGN})
  # A program linked with the window's resources carries their manifest instead.
  if(NOT tw_resources IN_LIST ARGN)
    tallowick_utf8_manifest(${target})
  endif()
  add_test(NAME ${target} COMMAND ${target} --gtest_brief=1)
  set_tests_properties(${target} PROPERTIES TIMEOUT 600)
  if(TALLOWICK_TEST_ENVIRONMENT)
    set_tests_properties(${target} PROPERTIES ENVIRONMENT "${TALLOWICK_TEST_ENVIRONMENT}")
  endif()
endfunction()

tallowick_test_program(platform tw_platform)
tallowick_test_program(metadata tw_metadata)
tallowick_test_program(organize tw_organize)
tallowick_test_program(cli tw_cli tw_album)
tallowick_test_program(skin tw_skin)
tallowick_test_program(log tw_log)
tallowick_test_program(folderpicker tw_folderpicker)
# Some command-line tests start the real program.
target_compile_definitions(tests_cli PRIVATE TALLOWICK_CLI_PROGRAM="$<TARGET_FILE:tallowick-cli>")
add_dependencies(tests_cli tallowick-cli)
if(WIN32)
  include(cmake/TallowickWindowTests.cmake)
  tallowick_test_program(resources tw_resources tw_skin version)

  # The window program, the folder picker and the skin test dialog under Wine on an X display,
  # driven with a real pointer and read back from this test process; screenshots go to
  # window-shots/. A pointer or key event can be lost to Wine's timing, so tools/test.sh gives
  # the tests labelled "pointer" one more run.
  add_library(tw_window_driver STATIC tests/app/window_driver_win32.cpp)
  target_include_directories(tw_window_driver PUBLIC tests/app)
  target_link_libraries(tw_window_driver PUBLIC tw_test_support)
  target_compile_definitions(tw_window_driver PUBLIC TALLOWICK_EXE="Z:$<TARGET_FILE:Tallowick>"
                             TALLOWICK_SHOT_DIR="${CMAKE_BINARY_DIR}/window-shots")
  tallowick_sources(APP_TEST_SOURCES tests/app)
  list(FILTER APP_TEST_SOURCES EXCLUDE REGEX "/window_driver_win32\\.cpp$")
  add_executable(tests_app ${APP_TEST_SOURCES})
  target_link_libraries(tests_app PRIVATE tw_window_driver tw_folderpicker)
  target_compile_definitions(tests_app PRIVATE
                             TALLOWICK_SKIN_DEMO_EXE="Z:$<TARGET_FILE:tallowick-skin-demo>"
                             TALLOWICK_SEAMS_EXE="Z:$<TARGET_FILE:tallowick-seams>")
  tallowick_utf8_manifest(tests_app)
  add_dependencies(tests_app Tallowick tallowick-skin-demo tallowick-seams)
  add_test(NAME tests_app COMMAND ${CMAKE_SOURCE_DIR}/tools/run-window.sh
                                     $<TARGET_FILE:tests_app> --gtest_brief=1)
  set_tests_properties(tests_app PROPERTIES TIMEOUT 900 LABELS pointer ENVIRONMENT
                       "${TALLOWICK_TEST_ENVIRONMENT};TALLOWICK_BUILD_DIR=${CMAKE_BINARY_DIR}")

  # The setup program under Wine: install, start, upgrade, uninstall (tests/release).
  if(TARGET release)
    add_test(NAME release_install
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/release/install_test.sh ${TALLOWICK_SETUP_EXE}
                     ${TALLOWICK_PORTABLE_ZIP} ${PROJECT_VERSION} ${CMAKE_BINARY_DIR})
    set_tests_properties(release_install PROPERTIES TIMEOUT 300)
  endif()

  # Benchmark helper (tools/bench/window_bench.sh): one organize job timed from the window.
  add_executable(tallowick-window-job tools/bench/window_job_win32.cpp)
  target_link_libraries(tallowick-window-job PRIVATE tw_window_driver)
  tallowick_utf8_manifest(tallowick-window-job)
  add_dependencies(tallowick-window-job Tallowick)
endif()

# The manual page, installed with the tool, names every option of its --help.
if(NOT WIN32)
  add_test(NAME cli_manual_options
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/cli/manual_options.sh ${CMAKE_COMMAND}
                   ${CMAKE_BINARY_DIR})
endif()

# End-to-end: the command-line tool on a folder tree that links back into itself.
add_test(NAME cli_folder_loop
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/folder_loop.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
                 $<TARGET_FILE:tallowick-cli>)
set_tests_properties(cli_folder_loop PROPERTIES TIMEOUT 300)
if(TALLOWICK_TEST_ENVIRONMENT)
  set_tests_properties(cli_folder_loop PROPERTIES ENVIRONMENT "${TALLOWICK_TEST_ENVIRONMENT}")
endif()

# End-to-end: the tool under faults (a full target, a file-size limit, a kill or Ctrl+C in the
# middle of a large copy or move), one file at a time and three at once; the full targets need
# small file systems of its own and are skipped without the right to mount them.
foreach(jobs 1 3)
  set(name cli_transfer_faults)
  if(jobs GREATER 1)
    set(name cli_transfer_faults_${jobs}_at_once)
  endif()
  add_test(NAME ${name}
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/transfer_faults.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
                   $<TARGET_FILE:tallowick-cli> $<TARGET_FILE:tallowick-make-album>)
  set_tests_properties(${name} PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77
                       ENVIRONMENT "${TALLOWICK_TEST_ENVIRONMENT};FAULT_JOBS=${jobs}")
endforeach()
