; Who the setup program installs Vantorel for, and the rights that takes; included by
; vantorel.nsi. The setup program and its uninstaller start with the rights of the user who
; runs them. An install for everyone (Program Files, the machine's Start menu and entry) needs
; an administrator's rights: without them, the setup program starts itself again with them,
; Windows asking for an administrator's confirmation, and that run does only what needs them.
; An install for the user alone never asks. The mode is chosen on a page, or by /AllUsers and
; /CurrentUser; an earlier install's mode comes first, then everyone for an administrator and
; the user alone for anyone else.
RequestExecutionLevel user

; AllUsers or CurrentUser, the switch's name without its slash.
Var InstallMode
; 1 when this run has an administrator's rights: raised, or where User Account Control is off.
Var HasAdministratorRights
; 1 for a member of the Administrators group, whether or not this run was raised.
Var IsAdministrator
; 1 in the run started with an administrator's rights to install for everyone.
Var AdministratorRun
Var ModeAllUsers

!macro InstallModeFunctions UN
  ; Windows hands an administrator's programs a limited token unless they are raised
  ; (TokenElevationType 18 is then TokenElevationTypeLimited, 3). Built with
  ; /DAS_STANDARD_USER, for a test where every user is an administrator, it finds no rights.
  Function ${UN}NoteRights
    !ifdef AS_STANDARD_USER
      Return
    !endif
    System::Call 'shell32::IsUserAnAdmin() i .r0'
    ${If} $0 != 0
      StrCpy $HasAdministratorRights 1
      StrCpy $IsAdministrator 1
    ${EndIf}
    System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r1) i .r0'
    ${If} $0 != 0
      System::Call 'advapi32::GetTokenInformation(p r1, i 18, *i .r2, i 4, *i .r3) i .r0'
      ${IfThen} $2 == 3 ${|} StrCpy $IsAdministrator 1 ${|}
      System::Call 'kernel32::CloseHandle(p r1)'
    ${EndIf}
  FunctionEnd

  ; /AllUsers or /CurrentUser, when given, over the mode found so far; /AdministratorRun
  ; marks the run started with an administrator's rights.
  Function ${UN}ModeFromSwitches
    ${${UN}GetParameters} $0
    ClearErrors
    ${${UN}GetOptions} $0 "/AdministratorRun" $1
    ${IfNot} ${Errors}
      StrCpy $AdministratorRun 1
    ${EndIf}
    ClearErrors
    ${${UN}GetOptions} $0 "/AllUsers" $1
    ${IfNot} ${Errors}
      StrCpy $InstallMode AllUsers
    ${EndIf}
    ClearErrors
    ${${UN}GetOptions} $0 "/CurrentUser" $1
    ${IfNot} ${Errors}
      StrCpy $InstallMode CurrentUser
    ${EndIf}
    ${If} $InstallMode == AllUsers
      SetShellVarContext all
    ${Else}
      SetShellVarContext current
    ${EndIf}
  FunctionEnd

  ; Runs this program again with an administrator's rights (Windows asks for them) and the
  ; parameters $1, and waits for it: $0 is its exit status, or "cancelled" when nobody
  ; confirmed. The structure is SHELLEXECUTEINFOW as x64 lays it out, its padding written out;
  ; SEE_MASK_NOCLOSEPROCESS (0x40) keeps the process for the wait.
  Function ${UN}RunAsAdministrator
    StrCpy $5 $EXEPATH
    System::Call '*(i 112, i 0x40, p $HWNDPARENT, w "runas", w r5, w r1, p 0, i 1, i 0, p 0, p 0, p 0, p 0, i 0, i 0, p 0, p 0) p .r2'
    System::Call 'shell32::ShellExecuteExW(p r2) i .r3 ?e'
    Pop $0
    ${If} $3 == 0
      System::Free $2
      ${IfThen} $0 == 1223 ${|} StrCpy $0 cancelled ${|} ; ERROR_CANCELLED
      Return
    ${EndIf}
    System::Call '*$2(i, i, p, p, p, p, p, i, i, p, p, p, p, i, i, p, p .r4)'
    System::Free $2
    System::Call 'kernel32::WaitForSingleObject(p r4, i -1)'
    System::Call 'kernel32::GetExitCodeProcess(p r4, *i .r0)'
    System::Call 'kernel32::CloseHandle(p r4)'
  FunctionEnd
!macroend
!insertmacro InstallModeFunctions ""
!insertmacro InstallModeFunctions "un."

; The mode's folder: an earlier install's, or the default one (Program Files, or the user's
; own programs folder).
Function ApplyInstallMode
  ${If} $InstallMode == AllUsers
    SetShellVarContext all
    ReadRegStr $INSTDIR HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${IfThen} $INSTDIR == "" ${|} StrCpy $INSTDIR "$PROGRAMFILES64\Vantorel" ${|}
  ${Else}
    SetShellVarContext current
    ReadRegStr $INSTDIR HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $INSTDIR == ""
      GetKnownFolderPath $0 {5CD7AEE2-2219-4A67-B85D-6C9CE15660CB} ; the user's program files
      ${IfThen} $0 == "" ${|} StrCpy $0 "$LOCALAPPDATA\Programs" ${|}
      StrCpy $INSTDIR "$0\Vantorel"
    ${EndIf}
  ${EndIf}
FunctionEnd

; The folder given by /D= stays the folder.
Function InitInstallMode
  Call NoteRights
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    StrCpy $InstallMode AllUsers
  ${ElseIf} $1 != ""
    StrCpy $InstallMode CurrentUser
  ${ElseIf} $IsAdministrator == 1
    StrCpy $InstallMode AllUsers
  ${Else}
    StrCpy $InstallMode CurrentUser
  ${EndIf}
  Call ModeFromSwitches
  StrCpy $2 $INSTDIR
  Call ApplyInstallMode
  ${IfThen} $2 != "" ${|} StrCpy $INSTDIR $2 ${|}
FunctionEnd

; The uninstaller is told its mode by the entry's command; without it, the machine's entry
; naming this folder makes it an install for everyone.
Function un.InitInstallMode
  Call un.NoteRights
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    StrCpy $InstallMode AllUsers
  ${Else}
    StrCpy $InstallMode CurrentUser
  ${EndIf}
  Call un.ModeFromSwitches
FunctionEnd

Function InstallModePage
  ${IfThen} $AdministratorRun == 1 ${|} Abort ${|}
  !insertmacro MUI_HEADER_TEXT "Choose Users" "Choose for which users you want to install Vantorel."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 40u "Install Vantorel for everyone who uses this computer, in Program Files, or just for you, in a folder of your own. Installing for everyone needs an administrator: Windows asks for one when the files are put in place. Installing just for you does not."
  Pop $0
  ${NSD_CreateFirstRadioButton} 15u 48u -15u 10u "Install for &anyone using this computer"
  Pop $ModeAllUsers
  ${NSD_CreateRadioButton} 15u 64u -15u 10u "Install just for &me"
  Pop $0
  ${If} $InstallMode == AllUsers
    ${NSD_Check} $ModeAllUsers
  ${Else}
    ${NSD_Check} $0
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function InstallModePageLeave
  ${NSD_GetState} $ModeAllUsers $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $InstallMode AllUsers
  ${Else}
    StrCpy $InstallMode CurrentUser
  ${EndIf}
  Call ApplyInstallMode
FunctionEnd
