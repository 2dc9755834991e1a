; Vantorel's setup program, vantorel-<version>-windows-x64-setup.exe. It installs Vantorel for
; everyone on this computer (Program Files) or for the user alone
; (%LOCALAPPDATA%\Programs\Vantorel), with Start-menu shortcuts to the program and to a command
; prompt for vantorel-cli and an entry among the installed programs, and writes the user's
; settings file with the box's port when there is none yet. The uninstaller takes away what
; the installer brought and leaves the user's settings alone.
; It starts with the rights of the user who runs it. Only an install for everyone needs an
; administrator: for that it starts itself again with an administrator's rights (Windows asks
; for them) to put the files in place, while this run, as the user, writes that user's
; settings. The uninstaller of an install for everyone does likewise.
; Built by cmake/WindowsPackage.cmake:
;   makensis /DVERSION=<version> /DFILE_VERSION=<a.b.c.d> /DSTAGE=<package folder>
;            /DFILES=<its file list, .nsh> /DICON=<program's .ico> /DOUTFILE=<setup.exe> vantorel.nsi
; Switches beside /S: /AllUsers or /CurrentUser; /Port=COMn, the port for a user without a
; settings file; /AllowDowngrade, to replace a newer installed version; and NSIS's own /D=, the
; folder, last.
!ifndef VERSION | FILE_VERSION | STAGE | FILES | ICON | OUTFILE
  !error "define VERSION, FILE_VERSION, STAGE (the package folder), FILES (its file list), ICON and OUTFILE"
!endif

Unicode true
; A 64-bit installer: the program is 64-bit, and Program Files and the registry are then
; the machine's own rather than their 32-bit views.
Target amd64-unicode
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantorel"

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include WordFunc.nsh
!include nsDialogs.nsh
!include StrFunc.nsh
${Using:StrFunc} StrTok
${Using:StrFunc} StrStr
!include "${FILES}"
!addincludedir "${__FILEDIR__}"
!include install-mode.nsh

Name "Vantorel"
OutFile "${OUTFILE}"
BrandingText "Vantorel ${VERSION}"

; The settings are those of the user running the setup program, whichever mode it installs in.
Var SettingsFolder
Var SettingsFile
; The port for a settings file written here: /Port=, or the port page's answer.
Var Port
; The port page's list: the lines vantorel-cli ports wrote.
Var PortList
Var PortBox
; What "Find the box" found, shown under the list.
Var ProbeResult
Var AllowDowngrade

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
; The licence grants rights and asks nothing of a user who installs or runs the program: it is
; shown for information, with a plain Next.
!define MUI_PAGE_HEADER_TEXT "Licence"
!define MUI_PAGE_HEADER_SUBTEXT "Vantorel is free software."
!define MUI_LICENSEPAGE_TEXT_TOP "The GNU General Public License, version 3 or later, for your information:"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "You need not accept it to install or use Vantorel; it sets the terms on which you may copy, change and pass on the program. $(^ClickNext)"
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipInAdministratorRun
!insertmacro MUI_PAGE_LICENSE "${STAGE}\COPYING.txt"
Page custom InstallModePage InstallModePageLeave
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipInAdministratorRun
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
Page custom PortPage PortPageLeave
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipInAdministratorRun
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShow
!define MUI_FINISHPAGE_TITLE_3LINES
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_TEXT "Vantorel is installed: start it from the Start menu, and vantorel-cli from $\"Vantorel command prompt$\" there.$\r$\n$\r$\nYour settings go in $SettingsFile; README.txt in the program's folder says what they hold."
!define MUI_FINISHPAGE_LINK "Open the folder of your settings file"
!define MUI_FINISHPAGE_LINK_LOCATION "$SettingsFolder"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; What Explorer shows in the setup program's properties, as the programs carry it.
VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Vantorel"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Vantorel ${VERSION} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "The Vantorel developers"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) 2026 The Vantorel developers; GPL-3.0-or-later"

Function .onInit
  SetRegView 64
  SetShellVarContext current
  StrCpy $SettingsFolder "$LOCALAPPDATA\vantorel"
  StrCpy $SettingsFile "$SettingsFolder\vantorel.ini"
  ${GetParameters} $0
  ${GetOptions} $0 "/Port=" $Port
  ClearErrors
  ${GetOptions} $0 "/AllowDowngrade" $1
  ${IfNot} ${Errors}
    StrCpy $AllowDowngrade 1
  ${EndIf}
  Call InitInstallMode
FunctionEnd

Function un.onInit
  SetRegView 64
  Call un.InitInstallMode
  ; An uninstall for everyone without an administrator's rights: the same uninstaller again
  ; with them, and this run ends with its status.
  ${If} $InstallMode == AllUsers
  ${AndIf} $HasAdministratorRights != 1
  ${AndIf} $AdministratorRun != 1
    ${GetParameters} $1
    StrCpy $1 "$1 /AdministratorRun _?=$INSTDIR"
    Call un.RunAsAdministrator
    ${If} $0 == cancelled
      MessageBox MB_OK|MB_ICONSTOP "Vantorel is installed for everyone: an administrator must confirm its uninstall." /SD IDOK
      SetErrorLevel 2
    ${Else}
      SetErrorLevel $0
    ${EndIf}
    Quit
  ${EndIf}
FunctionEnd

Function SkipInAdministratorRun
  ${IfThen} $AdministratorRun == 1 ${|} Abort ${|}
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

; Before the program's files go in $INSTDIR: nothing changes before these checks, so that the
; earlier install and this folder stay as they are when a program in them runs or the earlier
; version is newer.
Function RemoveEarlierVersion
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
    ExecWait '"$2\Uninstall.exe" /S /$InstallMode _?=$2'
    Delete "$2\Uninstall.exe"
    RMDir "$2"
  ${EndIf}
FunctionEnd

; After the program's files: the uninstaller, the shortcuts and the entry, for the mode chosen.
Function RegisterProgram
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
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe" /$InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /$InstallMode /S'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
FunctionEnd

; For everyone without an administrator's rights: this setup program again with them, which
; shows only its progress (and its questions: a running Vantorel, a newer version) and ends.
Function InstallAsAdministrator
  DetailPrint "Installing for everyone, with an administrator's rights..."
  StrCpy $1 "/AllUsers /AdministratorRun"
  ${IfThen} ${Silent} ${|} StrCpy $1 "/S $1" ${|}
  ${IfThen} $AllowDowngrade == 1 ${|} StrCpy $1 "$1 /AllowDowngrade" ${|}
  ; The folder chosen, last and without quotes as /D= must be.
  StrCpy $1 "$1 /D=$INSTDIR"
  HideWindow
  Call RunAsAdministrator
  BringToFront
  ${If} $0 == cancelled
    Abort "Installing for everyone needs an administrator to confirm it: nothing was changed. Run the setup program again and choose $\"Install just for me$\" to install without one."
  ${ElseIf} $0 != 0
    Abort "The install for everyone stopped: nothing more was changed."
  ${EndIf}
FunctionEnd

; The files are put in place here rather than in a function, so that the folder page shows the
; space they take.
Section "Vantorel"
  ${If} $InstallMode == AllUsers
  ${AndIf} $HasAdministratorRights != 1
  ${AndIf} $AdministratorRun != 1
    Call InstallAsAdministrator
  ${Else}
    Call RemoveEarlierVersion
    !insertmacro InstallPackageFiles
    Call RegisterProgram
  ${EndIf}
  ${If} $AdministratorRun == 1
    SetAutoClose true
    Return
  ${EndIf}

  ; A silent install takes its port from /Port=; the port page lists the ports, found while
  ; the user waits for the files anyway.
  ${If} ${Silent}
    Call WriteSettings
  ${ElseIfNot} ${FileExists} "$SettingsFile"
    Call ListPorts
  ${EndIf}
SectionEnd

; Runs vantorel-cli with the arguments in $0 and puts what it printed in $R9, a line each (empty
; when it failed). Its lines may name ports in any language and it writes UTF-8, which nsExec
; would read in the ANSI code page: its output goes through a file, read as UTF-8
; (System::Alloc's memory starts zeroed, which ends the text).
Function RunCli
  StrCpy $R9 ""
  InitPluginsDir
  nsExec::Exec '"$SYSDIR\cmd.exe" /c ""$INSTDIR\vantorel-cli.exe" $0 >"$PLUGINSDIR\cli.txt""'
  Pop $1
  ${IfThen} $1 != 0 ${|} Return ${|}
  System::Call 'kernel32::CreateFileW(w "$PLUGINSDIR\cli.txt", i 0x80000000, i 1, p 0, i 3, i 0, p 0) p .r1'
  ${IfThen} $1 == -1 ${|} Return ${|}
  System::Alloc ${NSIS_MAX_STRLEN}
  Pop $2
  IntOp $3 ${NSIS_MAX_STRLEN} - 1
  System::Call 'kernel32::ReadFile(p r1, p r2, i r3, *i .r3, p 0)'
  System::Call 'kernel32::CloseHandle(p r1)'
  System::Call 'kernel32::MultiByteToWideChar(i 65001, i 0, p r2, i -1, w .r4, i ${NSIS_MAX_STRLEN})'
  System::Free $2
  StrCpy $R9 $4
FunctionEnd

; The ports vantorel-cli lists, a line each, in $PortList.
Function ListPorts
  StrCpy $0 "ports"
  Call RunCli
  StrCpy $PortList $R9
FunctionEnd

; "Find the box": vantorel-cli sends its info request to every port once; the one port where
; the box answers is chosen. None, or more than one, leaves the choice to the user.
Function FindTheBox
  Pop $0 ; the button
  ${NSD_SetText} $ProbeResult "Asking each port whether the box answers..."
  StrCpy $0 "ports --probe"
  Call RunCli
  StrCpy $5 0
  StrCpy $2 0
  ${Do}
    ${StrTok} $3 "$R9" "$\r$\n" $2 1
    ${IfThen} $3 == "" ${|} ${ExitDo} ${|}
    ${StrStr} $4 "$3" "  the box answers: "
    ${If} $4 != ""
      IntOp $5 $5 + 1
      ${StrTok} $6 "$3" " $\t" 0 1
    ${EndIf}
    IntOp $2 $2 + 1
  ${Loop}
  ${If} $5 == 1
    ; The list's line of that port, or the name alone where the list lacks it.
    SendMessage $PortBox ${CB_FINDSTRING} -1 "STR:$6 " $7
    ${If} $7 >= 0
      SendMessage $PortBox ${CB_SETCURSEL} $7 0
    ${Else}
      ${NSD_SetText} $PortBox "$6"
    ${EndIf}
    ${NSD_SetText} $ProbeResult "The box answers on $6."
  ${ElseIf} $5 == 0
    ${NSD_SetText} $ProbeResult "The box answers on no port. Is it connected and powered?"
  ${Else}
    ${NSD_SetText} $ProbeResult "The box answers on $5 ports: choose one."
  ${EndIf}
FunctionEnd

; Where the user has no settings file yet: the box's port, from the ports vantorel-cli lists
; (with the names Device Manager gives them) or typed. Nothing is chosen for the user: left
; empty, no file is written and Vantorel opens COM1.
Function PortPage
  ${IfThen} $AdministratorRun == 1 ${|} Abort ${|}
  ${IfThen} ${FileExists} "$SettingsFile" ${|} Abort ${|}
  !insertmacro MUI_HEADER_TEXT "The box's port" "Which COM port is the interface box connected to?"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 44u "Choose the interface box's port or type its name (Device Manager lists it under $\"Ports (COM && LPT)$\"), or let $\"Find the box$\" send one request to every port and choose the one where the box answers. Vantorel opens it for you from your settings file, $SettingsFile. Left empty, Vantorel opens COM1."
  Pop $0
  ${NSD_CreateComboBox} 0 50u 100% 80u "$Port"
  Pop $PortBox
  ${NSD_CreateButton} 0 70u 80u 14u "Find the box"
  Pop $0
  ${NSD_OnClick} $0 FindTheBox
  ${NSD_CreateLabel} 86u 72u 200u 24u ""
  Pop $ProbeResult
  StrCpy $2 0
  ${Do}
    ${StrTok} $3 "$PortList" "$\r$\n" $2 1
    ${IfThen} $3 == "" ${|} ${ExitDo} ${|}
    ${NSD_CB_AddString} $PortBox "$3"
    IntOp $2 $2 + 1
  ${Loop}
  ${NSD_SetFocus} $PortBox
  nsDialogs::Show
FunctionEnd

; A listed port comes with its name in Device Manager beside it: only the COM name is kept.
Function PortPageLeave
  ${NSD_GetText} $PortBox $0
  ${StrTok} $Port "$0" " $\t" 0 1
  Call WriteSettings
FunctionEnd

; Nothing is left to go back to: the files are in and the settings written.
Function FinishPageShow
  GetDlgItem $0 $HWNDPARENT 3
  EnableWindow $0 0
  ${IfNot} ${FileExists} "$SettingsFolder\*.*"
    ShowWindow $mui.FinishPage.Link ${SW_HIDE}
  ${EndIf}
FunctionEnd

; Only what the installer put there goes: a folder that then holds anything else (a table
; file saved beside the program, a file of the user's own in qt) stays, and the user's
; settings are never touched; their folder goes only when it is empty.
Section "Uninstall"
  StrCpy $0 $INSTDIR
  Call un.WaitUntilClosed
  Delete "$SMPROGRAMS\Vantorel.lnk"
  Delete "$SMPROGRAMS\Vantorel command prompt.lnk"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  !insertmacro UninstallPackageFiles
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  SetShellVarContext current
  RMDir "$LOCALAPPDATA\vantorel"
SectionEnd
