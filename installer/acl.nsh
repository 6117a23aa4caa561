; Rights on the program and settings folders, set with icacls (part of Windows since Vista). Groups
; are named by SID because their names change with the system language.

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

; Makes the program folder anew, administrators' alone, and leaves "ok" or why not on the stack.
; Owner and rights are set outright, not just added to, in case someone else made or changed the
; folder while setup was at it, and it must be empty once nobody else can write to it.
Function LockProgramFolder
  StrCpy $AclFailure ""
  ${If} ${FileExists} "$ProgramDir"
    StrCpy $AclFailure "it holds files setup did not put there or could not remove"
  ${EndIf}
  CreateDirectory "$ProgramDir"
  !insertmacro ICACLS "$ProgramDir" "/setowner ${SID_ADMINISTRATORS}"
  !insertmacro ICACLS "$ProgramDir" "/reset"
  !insertmacro ICACLS "$ProgramDir" "/inheritance:r /grant:r ${SID_SYSTEM}:(OI)(CI)F \
      ${SID_ADMINISTRATORS}:(OI)(CI)F ${SID_USERS}:(OI)(CI)RX"
  ${DirState} "$ProgramDir" $0
  ${If} $AclFailure == ""
  ${AndIf} $0 != 0
    StrCpy $AclFailure "it holds files setup did not put there"
  ${EndIf}
  Call PushAclResult
FunctionEnd

; Lets the local Users group create and change files in the settings folder, and leaves "ok" or
; the reason of a failure on the stack. The program folder inside keeps rights of its own.
Function OpenSettingsToUsers
  StrCpy $AclFailure ""
  !insertmacro ICACLS "$SettingsDir" "/grant:r ${SID_USERS}:(OI)(CI)M"
  Call PushAclResult
FunctionEnd

Function PushAclResult
  ${If} $AclFailure == ""
    Push "ok"
  ${Else}
    Push $AclFailure
  ${EndIf}
FunctionEnd
