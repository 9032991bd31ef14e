; Installer of the Vireo plug-in: copies gen_vireo.dll into the Plugins
; folder of a Winamp installation and registers an uninstaller.
;
; Built by CMake (packaging/CMakeLists.txt), which defines on makensis'
; command line: VERSION_TEXT (1.31), PRODUCT_VERSION (1.3.1.0),
; SETTINGS_KEY (the plug-in's registry key), DLL (the file to install) and
; OUTFILE.
;
; 32-bit, like Winamp: on 64-bit Windows it sees the same Program Files
; folder and the same registry view as Winamp and the plug-in. It writes
; only into Winamp's folder, plus its own Add/Remove Programs entry.
;
; The uninstaller lives in Winamp's Plugins folder, beside the DLL it
; removes: nothing of Vireo lands outside Winamp's folder, deleting Winamp's
; folder leaves nothing behind, and Winamp only loads DLLs from Plugins, so
; an exe there is inert.

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Vireo"
!define PUBLISHER "Oskel"
!define UNINSTALLER "Vireo-uninstall.exe"
!define ARP_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vireo"
!define WINAMP_ARP_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Winamp"
; The class of Winamp's main window, the same in every Winamp 2 and 5.
!define WINAMP_CLASS "Winamp v1.x"
; An exit code of "aborted by the installer" for refusals in silent mode.
!define EXIT_REFUSED 2

Name "${PRODUCT} ${VERSION_TEXT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION_TEXT}"

VIProductVersion "${PRODUCT_VERSION}"
VIFileVersion "${PRODUCT_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION_TEXT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION_TEXT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION_TEXT}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) 2026 The Vireo team"

!define MUI_ABORTWARNING
!define MUI_DIRECTORYPAGE_TEXT_TOP "Setup will install ${PRODUCT} into the Plugins folder of the Winamp installation below. To use another Winamp, click Browse and choose the folder that holds winamp.exe."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "Winamp folder"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "${PRODUCT} is installed. Start Winamp and find it under Preferences, Plug-ins, General Purpose."
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; $R0: the folder in a quoted or plain command line such as
; "C:\Program Files\Winamp\UninstWA.exe" /S (empty if there is none).
Function FolderOfCommand
  Exch $R0
  Push $R1
  Push $R2
  StrCpy $R1 $R0 1
  ${If} $R1 == '"'
    StrCpy $R0 $R0 "" 1
    StrCpy $R2 0
    ${Do}
      StrCpy $R1 $R0 1 $R2
      ${IfThen} $R1 == "" ${|} ${ExitDo} ${|}
      ${IfThen} $R1 == '"' ${|} ${ExitDo} ${|}
      IntOp $R2 $R2 + 1
    ${Loop}
    StrCpy $R0 $R0 $R2
  ${EndIf}
  ${If} $R0 != ""
    ${GetParent} $R0 $R0
  ${EndIf}
  Pop $R2
  Pop $R1
  Exch $R0
FunctionEnd

; Asks the player to close Winamp while its window exists: a loaded plug-in
; cannot be replaced or removed. Cancelling (the answer in silent mode)
; aborts.
!macro CLOSE_WINAMP un
Function ${un}CloseWinamp
  ${Do}
    FindWindow $0 "${WINAMP_CLASS}"
    ${IfThen} $0 == 0 ${|} ${ExitDo} ${|}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Winamp is running. Please close Winamp, then click Retry." /SD IDCANCEL IDRETRY retry
    SetErrorLevel ${EXIT_REFUSED}
    Quit
    retry:
  ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_WINAMP ""
!insertmacro CLOSE_WINAMP "un."

Function .onInit
  ; A folder given with /D= is kept; otherwise Winamp's own uninstall entry
  ; says where it is, else the usual places.
  ${If} $INSTDIR == ""
    ReadRegStr $0 HKLM "${WINAMP_ARP_KEY}" "UninstallString"
    Push $0
    Call FolderOfCommand
    Pop $0
    ${If} $0 != ""
    ${AndIf} ${FileExists} "$0\winamp.exe"
      StrCpy $INSTDIR $0
    ${ElseIf} ${FileExists} "$PROGRAMFILES\Winamp\winamp.exe"
      StrCpy $INSTDIR "$PROGRAMFILES\Winamp"
    ${ElseIf} ${FileExists} "$PROGRAMFILES64\Winamp\winamp.exe"
      StrCpy $INSTDIR "$PROGRAMFILES64\Winamp"
    ${Else}
      StrCpy $INSTDIR "$PROGRAMFILES\Winamp"
    ${EndIf}
  ${EndIf}
  ${If} ${Silent}
  ${AndIfNot} ${FileExists} "$INSTDIR\winamp.exe"
    SetErrorLevel ${EXIT_REFUSED}
    Quit
  ${EndIf}
FunctionEnd

; The directory page's Next button stays disabled until the folder holds
; winamp.exe.
Function .onVerifyInstDir
  ${IfNot} ${FileExists} "$INSTDIR\winamp.exe"
    Abort
  ${EndIf}
FunctionEnd

Section "Vireo"
  ${IfNot} ${FileExists} "$INSTDIR\winamp.exe"
    SetErrorLevel ${EXIT_REFUSED}
    Abort "$INSTDIR does not hold winamp.exe."
  ${EndIf}
  Call CloseWinamp
  SetOutPath "$INSTDIR\Plugins"
  File "/oname=gen_vireo.dll" "${DLL}"
  WriteUninstaller "$INSTDIR\Plugins\${UNINSTALLER}"

  WriteRegStr HKLM "${ARP_KEY}" "DisplayName" "${PRODUCT} ${VERSION_TEXT}"
  WriteRegStr HKLM "${ARP_KEY}" "DisplayVersion" "${VERSION_TEXT}"
  WriteRegStr HKLM "${ARP_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${ARP_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${ARP_KEY}" "DisplayIcon" "$INSTDIR\winamp.exe"
  WriteRegStr HKLM "${ARP_KEY}" "UninstallString" '"$INSTDIR\Plugins\${UNINSTALLER}"'
  WriteRegStr HKLM "${ARP_KEY}" "QuietUninstallString" '"$INSTDIR\Plugins\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${ARP_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${ARP_KEY}" "NoRepair" 1
  ; In KB, the DLL and the uninstaller.
  ${GetSize} "$INSTDIR\Plugins" "/M=gen_vireo.dll /S=0K /G=0" $0 $1 $2
  ${GetSize} "$INSTDIR\Plugins" "/M=${UNINSTALLER} /S=0K /G=0" $1 $2 $3
  IntOp $0 $0 + $1
  WriteRegDWORD HKLM "${ARP_KEY}" "EstimatedSize" $0
SectionEnd

; The uninstaller runs from the Plugins folder, so $INSTDIR is that folder.
Section "Uninstall"
  Call un.CloseWinamp
  Delete "$INSTDIR\gen_vireo.dll"
  Delete "$INSTDIR\${UNINSTALLER}"
  DeleteRegKey HKLM "${ARP_KEY}"
  ; The settings stay unless the player asks; silent uninstalls keep them.
  MessageBox MB_YESNO|MB_ICONQUESTION \
    "Remove your ${PRODUCT} settings too? Keep them if you will install ${PRODUCT} again." \
    /SD IDNO IDNO keep
    DeleteRegKey HKLM "${SETTINGS_KEY}"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    ; Their parents go too once nothing else is in them.
    ${GetParent} "${SETTINGS_KEY}" $0
    DeleteRegKey /ifempty HKLM $0
    DeleteRegKey /ifempty HKCU $0
    ${GetParent} $0 $0
    DeleteRegKey /ifempty HKLM $0
    DeleteRegKey /ifempty HKCU $0
  keep:
SectionEnd
