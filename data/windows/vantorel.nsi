; Vantorel's setup program, vantorel-<version>-windows-x64-setup.exe: a per-machine install
; into Program Files with a Start-menu shortcut and an entry in Windows' list of installed
; programs, whose uninstaller takes away what the installer brought and leaves the user's
; settings alone.
; Built by cmake/WindowsPackage.cmake:
;   makensis /DVERSION=<version> /DSTAGE=<package folder> /DFILES=<its file list, .nsh>
;            /DICON=<program's .ico> /DOUTFILE=<setup.exe> vantorel.nsi
!ifndef VERSION | STAGE | FILES | ICON | OUTFILE
  !error "define VERSION, STAGE (the package folder), FILES (its file list), ICON and OUTFILE"
!endif

Unicode true
; A 64-bit installer: the program is 64-bit, and Program Files and the registry are then
; the machine's own rather than their 32-bit views.
Target amd64-unicode
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include "${FILES}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantorel"

Name "Vantorel"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vantorel"
; Installing over an earlier version goes into its folder.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_LICENSE "${STAGE}\COPYING.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; The folder of the program is not writable for users, so their settings live in their own
; folder; the finish page says where and links to it.
Var SettingsFolder
!define MUI_PAGE_CUSTOMFUNCTION_PRE MakeSettingsFolder
!define MUI_FINISHPAGE_TITLE_3LINES
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_TEXT "Vantorel is installed.$\r$\n$\r$\nYour settings go in %LOCALAPPDATA%\vantorel\vantorel.ini: copy vantorel-example.ini from the program's folder there and name your port in it.$\r$\n$\r$\nA vantorel.ini beside vantorel.exe would be read instead, but users cannot write in Program Files."
!define MUI_FINISHPAGE_LINK "Open the folder for your settings file"
!define MUI_FINISHPAGE_LINK_LOCATION "$SettingsFolder"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

; The settings folder is the user's own, not the machine's; the link opens it, so it is made
; when missing.
Function MakeSettingsFolder
  SetShellVarContext current
  StrCpy $SettingsFolder "$LOCALAPPDATA\vantorel"
  SetShellVarContext all
  CreateDirectory "$SettingsFolder"
FunctionEnd

Section "Vantorel"
  SetShellVarContext all
  ; An earlier version is uninstalled first, in place, so that no file it had and this one
  ; lacks stays behind.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\Uninstall.exe"
    ExecWait '"$0\Uninstall.exe" /S _?=$0'
    Delete "$0\Uninstall.exe"
  ${EndIf}

  !insertmacro InstallPackageFiles
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The program starts in its folder.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\Vantorel.lnk" "$INSTDIR\vantorel.exe" "" "$INSTDIR\vantorel.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vantorel"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Vantorel developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vantorel.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there goes: a folder that then holds anything else (a table
; file saved beside the program, a file of the user's own in qt) stays, and the user's
; settings are never touched.
Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Vantorel.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  !insertmacro UninstallPackageFiles
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
