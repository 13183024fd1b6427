# The Windows release: a setup program (makensis, installer/Tallowick.nsi) and a portable zip,
# both named after the project's version:
#   build/windows/Tallowick-<version>-setup.exe
#   build/windows/Tallowick-<version>-win64.zip
# Built with the rest of the Windows build when makensis and zip are installed (tools/setup.sh).

find_program(TALLOWICK_MAKENSIS makensis)
find_program(TALLOWICK_ZIP zip)
if(NOT TALLOWICK_MAKENSIS OR NOT TALLOWICK_ZIP)
  message(STATUS "makensis or zip missing (tools/setup.sh installs them): no setup program, no zip")
  return()
endif()

# A version block wants four numbers; the project may give fewer.
string(REGEX MATCHALL "[0-9]+" version_parts "${PROJECT_VERSION}.0.0.0")
list(SUBLIST version_parts 0 4 version_parts)
list(JOIN version_parts "." TALLOWICK_VERSION4)

set(TALLOWICK_SETUP_EXE ${CMAKE_BINARY_DIR}/Tallowick-${PROJECT_VERSION}-setup.exe)
set(TALLOWICK_PORTABLE_ZIP ${CMAKE_BINARY_DIR}/Tallowick-${PROJECT_VERSION}-win64.zip)
set(nsi ${CMAKE_SOURCE_DIR}/installer/Tallowick.nsi)
set(readme ${CMAKE_SOURCE_DIR}/installer/readme.txt)
set(wizard_bmp ${CMAKE_SOURCE_DIR}/installer/wizard.bmp)
# The licence and the notices of what the programs contain from others, with Windows line ends
# so that every editor shows their lines.
set(license_txt ${CMAKE_BINARY_DIR}/legal/LICENSE.txt)
set(notices_txt ${CMAKE_BINARY_DIR}/legal/THIRD-PARTY-NOTICES.txt)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${license_txt} @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt ${notices_txt} @ONLY NEWLINE_STYLE CRLF)

add_custom_command(
  OUTPUT ${TALLOWICK_SETUP_EXE}
  COMMAND ${TALLOWICK_MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${PROJECT_VERSION}
          -DVERSION4=${TALLOWICK_VERSION4} -DBINDIR=${CMAKE_BINARY_DIR}
          -DRESDIR=${CMAKE_SOURCE_DIR}/res -DWIZARDBMP=${wizard_bmp}
          -DLEGALDIR=${CMAKE_BINARY_DIR}/legal
          -DOUTFILE=${TALLOWICK_SETUP_EXE} ${nsi}
  DEPENDS ${nsi} ${wizard_bmp} ${license_txt} ${notices_txt} ${CMAKE_SOURCE_DIR}/res/images/tallowick.ico
          ${CMAKE_SOURCE_DIR}/res/product.h Tallowick tallowick-cli
  COMMENT "Building the setup program Tallowick-${PROJECT_VERSION}-setup.exe"
  VERBATIM)

# The zip holds one folder, so that unpacking it does not scatter files.
set(stage ${CMAKE_BINARY_DIR}/portable/Tallowick-${PROJECT_VERSION})
add_custom_command(
  OUTPUT ${TALLOWICK_PORTABLE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/portable ${TALLOWICK_PORTABLE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Tallowick> $<TARGET_FILE:tallowick-cli> ${readme}
          ${license_txt} ${notices_txt} ${stage}
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/portable ${TALLOWICK_ZIP} -q -r -X
          ${TALLOWICK_PORTABLE_ZIP} Tallowick-${PROJECT_VERSION}
  DEPENDS ${readme} ${license_txt} ${notices_txt} Tallowick tallowick-cli
  COMMENT "Building the portable zip Tallowick-${PROJECT_VERSION}-win64.zip"
  VERBATIM)

add_custom_target(release ALL DEPENDS ${TALLOWICK_SETUP_EXE} ${TALLOWICK_PORTABLE_ZIP})
