; Rights on the settings folder, set with icacls (part of Windows since Vista). Groups are named
; by SID because their names change with the system language.

!define SID_SYSTEM "*S-1-5-18"
!define SID_ADMINISTRATORS "*S-1-5-32-544"
!define SID_USERS "*S-1-5-32-545"

Var AclFailure

; Runs icacls on PATH with ARGS; on failure records what failed in $AclFailure.
!macro ICACLS PATH ARGS
  ${If} $AclFailure == ""
    nsExec::ExecToLog '"$SYSDIR\icacls.exe" "${PATH}" ${ARGS}'
    Pop $0
    ${If} $0 != 0
      StrCpy $AclFailure "icacls on ${PATH} gave $0"
    ${EndIf}
  ${EndIf}
!macroend

; Lets the local Users group create and change files in the settings folder, and leaves
; "ok" or the reason of a failure on the stack.
Function OpenSettingsToUsers
  StrCpy $AclFailure ""
  ; The settings folder is the program folder too, and new files take on its rights. The programs
  ; get fixed rights of their own first, so that a standard user cannot replace tessel.exe or the
  ; uninstaller that an administrator runs later. If that fails the folder stays closed.
  !insertmacro ICACLS "$INSTDIR\tessel.exe" \
      "/inheritance:r /grant:r ${SID_SYSTEM}:F ${SID_ADMINISTRATORS}:F ${SID_USERS}:RX"
  !insertmacro ICACLS "$INSTDIR\uninstall.exe" \
      "/inheritance:r /grant:r ${SID_SYSTEM}:F ${SID_ADMINISTRATORS}:F ${SID_USERS}:RX"
  !insertmacro ICACLS "$SettingsDir" "/grant:r ${SID_USERS}:(OI)(CI)M"
  ${If} $AclFailure == ""
    Push "ok"
  ${Else}
    Push $AclFailure
  ${EndIf}
FunctionEnd
