; The VELDESK installer for Windows: VELDESK.EXE, VELPRA.EXE, VELSTAT.EXE, the
; help document, the heading pictures and the examples, laid out as on Linux
; (bin\ and share\veldesk\ under the installation folder).
;
; Per user, without administrator rights, into the user's programs folder;
; for all users, into Program Files, when run with administrator rights.
; /S installs silently; /CurrentUser or /AllUsers choose the mode.
;
; Defined on the makensis command line by scripts/build-windows.sh:
;   VERSION   "1.0"
;   STAGE     the folder holding the files to install
;   OUTFILE   the installer to write
;   FILES     a generated list of File commands (one per installed file)
;   UNFILES   the matching Delete and RMDir commands for the uninstaller
;   ICON      the program's icon (.ico)

; A 64-bit installer for 64-bit programs: it runs wherever they can, needs no
; 32-bit subsystem, and sees the 64-bit registry and Program Files.
Target amd64-unicode
SetCompressor /SOLID lzma

!define APPNAME "VELDESK"
!define PUBLISHER "VELPRA project"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VELDESK"
!define PROGID "VELDESK.DataSet"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "VELDESK"
; Where the installation lives, and in which hive: the uninstaller finds its
; mode (all users or this user) by the hive that holds this key.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTKEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTKEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh

Name "${APPNAME} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${APPNAME} ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${APPNAME}"
VIAddVersionKey "FileDescription" "${APPNAME} ${VERSION} installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "GPL-3.0-or-later"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\bin\VELDESK.EXE"
!define MUI_FINISHPAGE_RUN_TEXT "Start VELDESK"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetRegView 64
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "VELDESK" SecMain
  SectionIn RO
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; Start menu: the program, its help document and the uninstaller.
  CreateDirectory "$SMPROGRAMS\${APPNAME}"
  CreateShortcut "$SMPROGRAMS\${APPNAME}\VELDESK.lnk" "$INSTDIR\bin\VELDESK.EXE" "" "$INSTDIR\bin\VELDESK.EXE" 0
  CreateShortcut "$SMPROGRAMS\${APPNAME}\VELDESK Help.lnk" "$INSTDIR\share\veldesk\velpra.pdf"
  CreateShortcut "$SMPROGRAMS\${APPNAME}\Uninstall VELDESK.lnk" "$INSTDIR\Uninstall.exe"

  ; .pd files open in VELDESK on a double-click (this user's or the machine's
  ; classes, by the installation mode).
  WriteRegStr SHCTX "Software\Classes\.pd" "" "${PROGID}"
  WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "Permeameter data set"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\bin\VELDESK.EXE,0"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\bin\VELDESK.EXE" "%1"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  ; Programs and Features.
  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayName" "${APPNAME} ${VERSION}"
  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTKEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\bin\VELDESK.EXE"
  WriteRegStr SHCTX "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTKEY}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTKEY}" "UninstallString" '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTKEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTKEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  ; Exactly the files the installer wrote, then each of its folders only when
  ; it is empty: a data set or report the user saved there stays, with the
  ; folders that hold it.
  !include "${UNFILES}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${APPNAME}\VELDESK.lnk"
  Delete "$SMPROGRAMS\${APPNAME}\VELDESK Help.lnk"
  Delete "$SMPROGRAMS\${APPNAME}\Uninstall VELDESK.lnk"
  RMDir "$SMPROGRAMS\${APPNAME}"

  ; The .pd association only while it is still ours.
  ReadRegStr $0 SHCTX "Software\Classes\.pd" ""
  ${If} $0 == "${PROGID}"
    DeleteRegKey SHCTX "Software\Classes\.pd"
  ${EndIf}
  DeleteRegKey SHCTX "Software\Classes\${PROGID}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  DeleteRegKey SHCTX "${UNINSTKEY}"
SectionEnd
