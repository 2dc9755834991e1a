; Vantorel's setup program, vantorel-<version>-windows-x64-setup.exe. It installs Vantorel for
; everyone on this computer (Program Files, with administrator rights) or for the user alone
; (%LOCALAPPDATA%\Programs\Vantorel, without), with Start-menu shortcuts to the program and to
; a command prompt for vantorel-cli and an entry among the installed programs, and writes the
; user's settings file with the box's port when there is none yet. The uninstaller takes away
; what the installer brought and leaves the user's settings alone.
; Built by cmake/WindowsPackage.cmake:
;   makensis /DVERSION=<version> /DSTAGE=<package folder> /DFILES=<its file list, .nsh>
;            /DICON=<program's .ico> /DOUTFILE=<setup.exe> vantorel.nsi
; Switches beside /S: /AllUsers or /CurrentUser; /Port=COMn, the port for a user without a
; settings file; /AllowDowngrade, to replace a newer installed version.
!ifndef VERSION | STAGE | FILES | ICON | OUTFILE
  !error "define VERSION, STAGE (the package folder), FILES (its file list), ICON and OUTFILE"
!endif

Unicode true
; A 64-bit installer: the program is 64-bit, and Program Files and the registry are then
; the machine's own rather than their 32-bit views.
Target amd64-unicode
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantorel"

; Administrators choose on a page, or with /AllUsers and /CurrentUser; other users install for
; themselves and are not asked for rights. An earlier install's mode and folder are the
; default.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Vantorel"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include WordFunc.nsh
!include nsDialogs.nsh
!include StrFunc.nsh
${Using:StrFunc} StrTok
!include "${FILES}"

Name "Vantorel"
OutFile "${OUTFILE}"

; The settings are those of the user running the setup program, whichever mode it installs in.
Var SettingsFolder
Var SettingsFile
; The port for a settings file written here: /Port=, or the port page's answer.
Var Port
; The port page's list: the lines vantorel-cli ports wrote.
Var PortList
Var PortBox
Var AllowDowngrade

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_LICENSE "${STAGE}\COPYING.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
Page custom PortPage PortPageLeave
!define MUI_FINISHPAGE_TITLE_3LINES
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_TEXT "Vantorel is installed: start it from the Start menu, and vantorel-cli from $\"Vantorel command prompt$\" there.$\r$\n$\r$\nYour settings go in %LOCALAPPDATA%\vantorel\vantorel.ini; README.txt in the program's folder says what they hold."
!define MUI_FINISHPAGE_LINK "Open the folder of your settings file"
!define MUI_FINISHPAGE_LINK_LOCATION "$SettingsFolder"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetRegView 64
  SetShellVarContext current
  StrCpy $SettingsFolder "$LOCALAPPDATA\vantorel"
  StrCpy $SettingsFile "$SettingsFolder\vantorel.ini"
  !insertmacro MULTIUSER_INIT
  ${GetParameters} $0
  ${GetOptions} $0 "/Port=" $Port
  ClearErrors
  ${GetOptions} $0 "/AllowDowngrade" $1
  ${IfNot} ${Errors}
    StrCpy $AllowDowngrade 1
  ${EndIf}
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

; A running program's file cannot be opened for writing: sets $R0 to PROGRAM when it runs.
!macro NoteWhenRunning PROGRAM
  ${If} ${FileExists} "${PROGRAM}"
    ClearErrors
    FileOpen $R1 "${PROGRAM}" a
    ${If} ${Errors}
      StrCpy $R0 "${PROGRAM}"
    ${Else}
      FileClose $R1
    ${EndIf}
  ${EndIf}
!macroend

; Waits until neither program in folder $0 runs, asking the user to close it; Cancel, and a
; silent run, stop the install or uninstall before it has changed anything.
!macro WaitUntilClosedFunction UN
  Function ${UN}WaitUntilClosed
    ${Do}
      StrCpy $R0 ""
      !insertmacro NoteWhenRunning "$0\vantorel.exe"
      !insertmacro NoteWhenRunning "$0\vantorel-cli.exe"
      ${IfThen} $R0 == "" ${|} Return ${|}
      ${If} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$R0 is running. Close Vantorel, then choose Retry." /SD IDCANCEL IDCANCEL`
        Abort "$R0 is running: nothing was changed."
      ${EndIf}
    ${Loop}
  FunctionEnd
!macroend
!insertmacro WaitUntilClosedFunction ""
!insertmacro WaitUntilClosedFunction "un."

; An older version replaces a newer one only when asked: by /AllowDowngrade, or by the user.
Function RefuseDowngrade
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "DisplayVersion"
  ${IfThen} $0 == "" ${|} Return ${|}
  ${IfThen} $AllowDowngrade == 1 ${|} Return ${|}
  ${VersionCompare} "$0" "${VERSION}" $1
  ${IfThen} $1 != 1 ${|} Return ${|}
  ${If} ${Cmd} `MessageBox MB_YESNO|MB_ICONEXCLAMATION|MB_DEFBUTTON2 "Vantorel $0 is installed, newer than this ${VERSION}. Replace it with the older version?" /SD IDNO IDNO`
    Abort "Vantorel $0 is newer than ${VERSION}: nothing was changed (/AllowDowngrade replaces it)."
  ${EndIf}
FunctionEnd

; The user's settings file with $Port in it, unless the user has one or no port was named.
Function WriteSettings
  ${If} $Port == ""
  ${OrIf} ${FileExists} "$SettingsFile"
    Return
  ${EndIf}
  CreateDirectory "$SettingsFolder"
  FileOpen $0 "$SettingsFile" w
  FileWrite $0 "; Written by Vantorel's setup program. vantorel-example.ini in the program's$\r$\n"
  FileWrite $0 "; folder shows every setting.$\r$\n[init]$\r$\nport=$Port$\r$\n"
  FileClose $0
FunctionEnd

Section "Vantorel"
  ; Nothing changes before these checks: the earlier install and this folder stay as they
  ; are when a program in them runs or the earlier version is newer.
  Call RefuseDowngrade
  ReadRegStr $2 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $2 != ""
    StrCpy $0 $2
    Call WaitUntilClosed
  ${EndIf}
  StrCpy $0 $INSTDIR
  Call WaitUntilClosed

  ; An earlier version is uninstalled first, in place, so that no file it had and this one
  ; lacks stays behind.
  ${If} $2 != ""
  ${AndIf} ${FileExists} "$2\Uninstall.exe"
    ExecWait '"$2\Uninstall.exe" /S /$MultiUser.InstallMode _?=$2'
    Delete "$2\Uninstall.exe"
    RMDir "$2"
  ${EndIf}

  !insertmacro InstallPackageFiles
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The program starts in its folder.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\Vantorel.lnk" "$INSTDIR\vantorel.exe" "" "$INSTDIR\vantorel.exe" 0
  ; A console for the command line, in the user's Documents, with the program's folder on its
  ; PATH alone: the system's PATH stays as it is.
  CreateShortcut "$SMPROGRAMS\Vantorel command prompt.lnk" "$SYSDIR\cmd.exe" \
    '/k cd /d "%USERPROFILE%\Documents" & set "PATH=$INSTDIR;%PATH%"' "$SYSDIR\cmd.exe" 0

  ; The uninstaller is told the mode: an administrator's would otherwise be for everyone.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Vantorel"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "The Vantorel developers"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vantorel.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1

  ; The finish page links to the settings folder; a silent install takes its port from /Port=,
  ; and the port page lists the ports, found while the user waits for the files anyway.
  CreateDirectory "$SettingsFolder"
  ${If} ${Silent}
    Call WriteSettings
  ${ElseIfNot} ${FileExists} "$SettingsFile"
    nsExec::ExecToStack '"$INSTDIR\vantorel-cli.exe" ports'
    Pop $0
    Pop $PortList
    ${IfThen} $0 != 0 ${|} StrCpy $PortList "" ${|}
  ${EndIf}
SectionEnd

; Where the user has no settings file yet: the box's port, from the ports vantorel-cli lists
; or typed. Left empty, no file is written and Vantorel opens COM1.
Function PortPage
  ${IfThen} ${FileExists} "$SettingsFile" ${|} Abort ${|}
  !insertmacro MUI_HEADER_TEXT "The box's port" "Which COM port is the interface box connected to?"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 40u "Choose the interface box's port, or type its name; Device Manager lists it under $\"Ports (COM && LPT)$\". Vantorel opens it for you from your settings file, $SettingsFile. Left empty, Vantorel opens COM1."
  Pop $0
  ${NSD_CreateComboBox} 0 48u 100% 80u "$Port"
  Pop $PortBox
  StrCpy $2 0
  ${Do}
    ${StrTok} $3 "$PortList" "$\r$\n" $2 1
    ${IfThen} $3 == "" ${|} ${ExitDo} ${|}
    ${NSD_CB_AddString} $PortBox "$3"
    IntOp $2 $2 + 1
  ${Loop}
  ${If} $Port == ""
    SendMessage $PortBox ${CB_SETCURSEL} 0 0
  ${EndIf}
  ${NSD_SetFocus} $PortBox
  nsDialogs::Show
FunctionEnd

; A listed port comes with its driver's device beside it: only the COM name is kept.
Function PortPageLeave
  ${NSD_GetText} $PortBox $0
  ${StrTok} $Port "$0" " $\t" 0 1
  Call WriteSettings
FunctionEnd

; Only what the installer put there goes: a folder that then holds anything else (a table
; file saved beside the program, a file of the user's own in qt) stays, and the user's
; settings are never touched.
Section "Uninstall"
  StrCpy $0 $INSTDIR
  Call un.WaitUntilClosed
  Delete "$SMPROGRAMS\Vantorel.lnk"
  Delete "$SMPROGRAMS\Vantorel command prompt.lnk"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  !insertmacro UninstallPackageFiles
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
