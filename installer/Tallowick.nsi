; The setup program of the Windows build. Built by CMake's `release` target, which passes:
;   /DVERSION=1.2.3      the project's version, as it appears in the file names
;   /DVERSION4=1.2.3.0   the same in four parts, for the setup program's own version block
;   /DBINDIR=...         the build folder holding Tallowick.exe and tallowick-cli.exe
;   /DRESDIR=...         the repository's res folder (icon, product names)
;   /DWIZARDBMP=...      the picture of the first and last pages (installer/wizard.bmp)
;   /DLEGALDIR=...       the licence and the third-party notices, with Windows line ends
;   /DOUTFILE=...        where the setup program goes

Unicode true
; Debian's Wine runs only 64-bit programs, and the programs themselves are 64-bit.
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"

; The product's Chinese name and its maker, as the programs' own resources spell them.
!searchparse /file "${RESDIR}/product.h" `#define TALLOWICK_PRODUCT_NAME_ZH "` PRODUCT `"`
!searchparse /file "${RESDIR}/product.h" `#define TALLOWICK_MAKER "` PUBLISHER `"`
!searchparse /file "${RESDIR}/product.h" `#define TALLOWICK_COPYRIGHT_YEAR "` COPYRIGHT_YEAR `"`
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallowick"
; The Explorer entry on folders and on drives (a camera card is a drive), for this user only.
!define FOLDER_VERB_KEY "Software\Classes\Directory\shell\Tallowick"
!define DRIVE_VERB_KEY "Software\Classes\Drive\shell\Tallowick"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
; Per user, without administrator rights: the program keeps Config.ini and errorFile.txt in its
; own folder, which a normal user cannot write under Program Files, so its settings would
; silently never be kept there.
RequestExecutionLevel user
BrandingText "${PRODUCT} ${VERSION}"
InstallDir "$LOCALAPPDATA\Programs\Tallowick"
; An upgrade goes where the previous version went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "© ${COPYRIGHT_YEAR} ${PUBLISHER}"

!define MUI_ICON "${RESDIR}\images\tallowick.ico"
!define MUI_UNICON "${RESDIR}\images\tallowick.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARDBMP}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tallowick.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "${PRODUCT}（必需）" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  ; Config.ini is not part of the package, so an upgrade leaves the user's settings as they are.
  File "${BINDIR}\Tallowick.exe"
  File "${BINDIR}\tallowick-cli.exe"
  File "${LEGALDIR}\LICENSE.txt"
  File "${LEGALDIR}\THIRD-PARTY-NOTICES.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\Tallowick.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\卸载 ${PRODUCT}.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tallowick.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "桌面快捷方式" SecDesktop
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\Tallowick.exe"
SectionEnd

; "用拾光整理照片" on a folder's or a drive's menu in Explorer starts the program with that folder
; as the photo folder. One key each, so an upgrade writes the same entries again, never a second.
!macro WriteVerb KEY
  WriteRegStr HKCU "${KEY}" "" "用${PRODUCT}照片"
  WriteRegStr HKCU "${KEY}" "Icon" "$INSTDIR\Tallowick.exe,0"
  WriteRegStr HKCU "${KEY}\command" "" '"$INSTDIR\Tallowick.exe" "%1"'
!macroend
Section "资源管理器右键菜单“用${PRODUCT}照片”" SecExplorerEntry
  !insertmacro WriteVerb "${FOLDER_VERB_KEY}"
  !insertmacro WriteVerb "${DRIVE_VERB_KEY}"
SectionEnd

; Left out in an upgrade: the entries an earlier install made go.
Section "-ExplorerEntryLeftOut"
  ${IfNot} ${SectionIsSelected} ${SecExplorerEntry}
    DeleteRegKey HKCU "${FOLDER_VERB_KEY}"
    DeleteRegKey HKCU "${DRIVE_VERB_KEY}"
  ${EndIf}
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\Tallowick.exe"
  Delete "$INSTDIR\tallowick-cli.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  Delete "$INSTDIR\Uninstall.exe"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\卸载 ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  Delete "$DESKTOP\${PRODUCT}.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "${FOLDER_VERB_KEY}"
  DeleteRegKey HKCU "${DRIVE_VERB_KEY}"

  ; The settings, the last failure list and the job journals are the user's: asked about, and
  ; kept by a silent uninstall, which must not throw away what nobody was asked about.
  IfFileExists "$INSTDIR\Config.ini" askUserData 0
  IfFileExists "$INSTDIR\errorFile.txt" askUserData 0
  IfFileExists "$INSTDIR\journal\*.*" askUserData keepUserData
  askUserData:
    MessageBox MB_YESNO|MB_ICONQUESTION "是否同时删除设置文件 Config.ini、失败记录 errorFile.txt 和整理记录 journal 文件夹？$\r$\n选“否”则保留，重新安装后继续使用。" /SD IDNO IDNO keepUserData
    Delete "$INSTDIR\Config.ini"
    Delete "$INSTDIR\errorFile.txt"
    RMDir /r "$INSTDIR\journal"
  keepUserData:
  ; Removed only when empty: anything else the user put there stays.
  RMDir "$INSTDIR"
SectionEnd
