# Test programs: one GoogleTest program per folder under tests/, each registered as one CTest
# test (under Wine every process start costs time, so the cases run inside one process).

if(WIN32)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  set(TALLOWICK_GTEST gtest gtest_main)
  # The Linux folders are visible to Wine programs on drive Z:.
  set(TALLOWICK_SHARED_DIR "Z:${CMAKE_SOURCE_DIR}/../shared")
  # Wine turns Windows names into Linux file names in the locale's character set: without a
  # UTF-8 locale no Chinese name could be created.
  set(TALLOWICK_TEST_ENVIRONMENT
      "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix" "WINEDEBUG=-all" "WINEDLLOVERRIDES=mscoree,mshtml="
      "LC_ALL=C.UTF-8")
else()
  find_package(GTest REQUIRED)
  set(TALLOWICK_GTEST GTest::gtest GTest::gtest_main)
  set(TALLOWICK_SHARED_DIR "${CMAKE_SOURCE_DIR}/../shared")
  set(TALLOWICK_TEST_ENVIRONMENT)
endif()

tallowick_sources(TEST_SUPPORT_SOURCES tests/support)
list(FILTER TEST_SUPPORT_SOURCES EXCLUDE REGEX "/jpeg_builder\\.cpp$")
add_library(tw_test_support STATIC ${TEST_SUPPORT_SOURCES})
target_include_directories(tw_test_support PUBLIC tests/support)
target_link_libraries(tw_test_support PUBLIC tw_jpeg_builder tw_platform ${TALLOWICK_GTEST})
target_compile_definitions(tw_test_support PUBLIC
  TALLOWICK_SAMPLES_DIR="${TALLOWICK_SHARED_DIR}/samples")

function(tallowick_test_program name)
  tallowick_sources(sources tests/${name})
  if(NOT sources)
    return()
  endif()
  set(target tests_${name})
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE tw_test_support ${ARGN})
  tallowick_utf8_manifest(${target})
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
if(WIN32)
  include(cmake/TallowickWindowTests.cmake)
endif()

# End-to-end: the command-line tool on a folder tree that links back into itself.
add_test(NAME cli_folder_loop
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/folder_loop.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
                 $<TARGET_FILE:tallowick-cli>)
set_tests_properties(cli_folder_loop PROPERTIES TIMEOUT 300)
if(TALLOWICK_TEST_ENVIRONMENT)
  set_tests_properties(cli_folder_loop PROPERTIES ENVIRONMENT "${TALLOWICK_TEST_ENVIRONMENT}")
endif()
