; Tessel setup: installs tessel.exe under Program Files and lets standard users keep its settings.
; Built by the `installer` target of the Windows build, which passes the defines checked below.
; The programs live in a folder of their own that only administrators may change: standard users
; may write to the settings folder, and Windows looks for a program's DLLs beside it first.

Unicode true
; tessel.exe is a 64-bit program, so setup is one too: it sees the 64-bit registry and folders.
Target amd64-unicode
RequestExecutionLevel admin
ManifestSupportedOS all
ManifestDPIAware true
SetCompressor /SOLID lzma

!ifndef TESSEL_VERSION | TESSEL_PUBLISHER | TESSEL_EXE | TESSEL_SETUP | TESSEL_SIGN
  !error "Build with the installer target: cmake --build build/win --target installer"
!endif
; Signs the uninstaller and setup when a certificate is given, else leaves them as they are.
!uninstfinalize '"${TESSEL_SIGN}" "%1"' = 0
!finalize '"${TESSEL_SIGN}" "%1"' = 0

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessel"
!define SETTINGS_FILE "DefaultDestinationPath.txt"
!define PROGRAM_FOLDER "Program"

Name "Tessel"
OutFile "${TESSEL_SETUP}"
InstallDir "$PROGRAMFILES64\Tessel"
; An upgrade goes where Tessel is installed.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Tessel ${TESSEL_VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${TESSEL_VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Tessel"
VIAddVersionKey /LANG=1033 "CompanyName" "${TESSEL_PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "Tessel setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${TESSEL_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${TESSEL_VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "© ${TESSEL_PUBLISHER}"

!ifdef TESSEL_ICON
  !define MUI_ICON "${TESSEL_ICON}"
  !define MUI_UNICON "${TESSEL_ICON}"
!endif
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Tessel reads its settings from the system drive's Program Files folder whatever the install
; folder, so setup works out that folder the same way.
Var SettingsDir
; The programs' own folder in the install folder, $INSTDIR\${PROGRAM_FOLDER}.
Var ProgramDir

!include acl.nsh

!macro FIND_SETTINGS_DIR
  StrCpy $SettingsDir $WINDIR 1
  StrCpy $SettingsDir "$SettingsDir:\Program Files\Tessel"
!macroend

!macro REQUIRE_ADMIN
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_OK|MB_ICONSTOP "Tessel setup needs administrator rights." /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
!macroend

; Waits until no running Tessel holds the program on the stack, asking the user to close it: a
; running program cannot be opened for writing, nor replaced or removed. Cancel, and silent mode,
; end setup with exit code 32 (a file in use) before anything has changed.
!macro DEFINE_REQUIRE_CLOSED UN
  Function ${UN}RequireClosed
    Exch $R0
    ${DoWhile} ${FileExists} $R0
      ClearErrors
      FileOpen $R1 $R0 a
      ${IfNot} ${Errors}
        FileClose $R1
        ${Break}
      ${EndIf}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Tessel is running, or another program holds \
          $R0.$\r$\n$\r$\nClose it, then choose Retry." /SD IDCANCEL IDRETRY retry
      SetErrorLevel 32 ; ERROR_SHARING_VIOLATION
      Quit
    retry:
    ${Loop}
    Pop $R0
  FunctionEnd
!macroend
!insertmacro DEFINE_REQUIRE_CLOSED ""
!insertmacro DEFINE_REQUIRE_CLOSED "un."

Function .onInit
  !insertmacro REQUIRE_ADMIN
  !insertmacro FIND_SETTINGS_DIR
FunctionEnd

Function un.onInit
  !insertmacro REQUIRE_ADMIN
  !insertmacro FIND_SETTINGS_DIR
FunctionEnd

Section "Tessel"
  StrCpy $ProgramDir "$INSTDIR\${PROGRAM_FOLDER}"
  Push "$ProgramDir\tessel.exe"
  Call RequireClosed
  Push "$INSTDIR\tessel.exe" ; where earlier versions kept it
  Call RequireClosed

  ; Made anew and locked before anything is copied into it, so that nothing someone else put
  ; there stays and nobody else can add to it. Setup never removes files that are not its own.
  Delete "$ProgramDir\tessel.exe"
  Delete "$ProgramDir\uninstall.exe"
  RMDir "$ProgramDir"
  Call LockProgramFolder
  Pop $0
  ${If} $0 != "ok"
    DetailPrint "Could not lock the program folder: $0"
    MessageBox MB_OK|MB_ICONSTOP "Setup could not make $ProgramDir a folder that only \
        administrators can change ($0), so it copied no programs there." /SD IDOK
    SetErrorLevel 3
    Quit
  ${EndIf}
  SetOutPath "$ProgramDir"
  File "/oname=tessel.exe" "${TESSEL_EXE}"
  WriteUninstaller "$ProgramDir\uninstall.exe"
  ; Earlier versions kept the programs in the settings folder.
  Delete "$INSTDIR\tessel.exe"
  Delete "$INSTDIR\uninstall.exe"

  ; The shortcut starts Tessel in the program folder too (the output folder).
  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\Tessel.lnk" "$ProgramDir\tessel.exe"

  ; An existing settings file is never touched: an upgrade keeps the stored default.
  CreateDirectory "$SettingsDir"
  Call OpenSettingsToUsers
  Pop $0
  ${If} $0 != "ok"
    DetailPrint "Could not set folder rights: $0"
    MessageBox MB_OK|MB_ICONEXCLAMATION "Tessel is installed, but setup could not let standard \
        users write to $SettingsDir ($0).$\r$\n$\r$\nStoring a default destination will need \
        administrator rights." /SD IDOK
    SetErrorLevel 2
  ${EndIf}

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tessel"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${TESSEL_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${TESSEL_PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$ProgramDir\uninstall.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$ProgramDir\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$ProgramDir\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$ProgramDir" "/S=0K /G=0" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The uninstaller lives in the program folder, which is its $INSTDIR.
Section "Uninstall"
  Push "$INSTDIR\tessel.exe"
  Call un.RequireClosed
  SetShellVarContext all
  Delete "$SMPROGRAMS\Tessel.lnk"
  Delete "$INSTDIR\tessel.exe"
  Delete "$INSTDIR\uninstall.exe"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ${If} ${FileExists} "$SettingsDir\${SETTINGS_FILE}"
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Also remove the stored default \
        destination?$\r$\n$\r$\nChoose No to keep it for a later installation of Tessel." \
        /SD IDNO IDNO keep_settings
    Delete "$SettingsDir\${SETTINGS_FILE}"
  keep_settings:
  ${EndIf}
  ; What a store killed half-way leaves beside the settings file; no later store will take it over.
  Delete "$SettingsDir\${SETTINGS_FILE}.tessel-store"
  ; Only empty folders go: whatever else is in them stays.
  RMDir "$INSTDIR"
  ${GetParent} "$INSTDIR" $0
  RMDir "$SettingsDir"
  RMDir "$0"
SectionEnd
