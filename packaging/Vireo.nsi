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
; A DLL that cannot be replaced stops the installation (Retry or Cancel):
; skipping it would leave the old DLL under the new version's entry.
AllowSkipFiles off

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"

!define PRODUCT "Vireo"
!define PUBLISHER "Oskel"
!define UNINSTALLER "Vireo-uninstall.exe"
!define ARP_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vireo"
!define WINAMP_ARP_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Winamp"
; The class of Winamp's main window, the same in every Winamp 2 and 5.
!define WINAMP_CLASS "Winamp v1.x"
; The class of the game's main window (Half-Life and its mods). The game
; keeps the plug-in mapped until it ends, even after Winamp has quit.
!define GAME_CLASS "Half-Life"
; An exit code of "aborted by the installer" for refusals in silent mode.
!define EXIT_REFUSED 2
; The exit code of a removal that a restart finishes (Windows'
; ERROR_SUCCESS_REBOOT_REQUIRED, as other setup programs answer).
!define EXIT_RESTART 3010
; While a removal waits for a restart, the uninstall entry holds the path of
; the DLL that Windows deletes then.
!define PENDING_VALUE "PendingRemoval"
; The per-user copy that Windows keeps of HKLM keys written by a virtualized
; program (the game, which has no manifest), seen from a 32-bit program.
!define VIRTUAL_STORE "Software\Classes\VirtualStore\MACHINE\SOFTWARE"
!searchparse "${SETTINGS_KEY}" "Software\" SETTINGS_UNDER_SOFTWARE
; A silent uninstall keeps the settings unless given this.
!define REMOVE_SETTINGS_OPTION "/REMOVESETTINGS"
; A user's own hive under HKEY_USERS is named by the user's SID, which
; starts so; the other SIDs there (S-1-5-18 and the like) are the system's.
!define USER_SID_PREFIX "S-1-5-21-"
; The user's Classes hive, S-1-5-21-...${USER_CLASSES_SUFFIX}, also starts so. It is not
; a user hive: its keys are the ones that the user's hive shows under
; Software\Classes (where the VirtualStore copy is reached), so it is left.
!define USER_CLASSES_SUFFIX "_Classes"
; A DLL that Winamp or the game still holds while it closes, or that an
; antivirus scans, is let go within this time: the attempts to open (and the
; uninstaller's to delete) the DLL are spread over it before it counts as in
; use.
!define DLL_WAIT_STEP_MS 500
!define DLL_WAIT_STEPS 10
; Win32 values for the System plug-in's calls.
!define HKEY_LOCAL_MACHINE 0x80000002
!define HKEY_USERS 0x80000003
!define REG_OPTION_VOLATILE 1
!define KEY_READ 0x20019
!define KEY_WRITE 0x20006
!define KEY_WOW64_64KEY 0x100
!define MOVEFILE_DELAY_UNTIL_REBOOT 4
!define GENERIC_WRITE 0x40000000
!define OPEN_EXISTING 3
!define INVALID_HANDLE_VALUE -1
!define ERROR_FILE_NOT_FOUND 2
!define ERROR_PATH_NOT_FOUND 3

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

; "free" when the DLL at the path on the stack can be opened for writing,
; sharing nothing, or does not exist; else "held", once the open has been
; refused for ${DLL_WAIT_STEPS} x ${DLL_WAIT_STEP_MS} ms. Windows refuses it while a process has
; the DLL mapped. The uninstaller's version deletes the DLL as well, and
; answers "free" once it is gone.
!macro WAIT_FOR_DLL un
Function ${un}WaitForDll
  Exch $R0
  Push $R1
  Push $R2
  Push $R3
  StrCpy $R3 0
  ${Do}
    System::Call 'kernel32::CreateFileW(w R0, i ${GENERIC_WRITE}, i 0, p 0, i ${OPEN_EXISTING}, i 0, p 0) i .R1 ?e'
    Pop $R2
    ${If} $R1 <> ${INVALID_HANDLE_VALUE}
      System::Call 'kernel32::CloseHandle(i R1)'
      !if "${un}" == "un."
        Delete $R0
        ${IfNot} ${FileExists} $R0
          StrCpy $R0 "free"
          ${ExitDo}
        ${EndIf}
      !else
        StrCpy $R0 "free"
        ${ExitDo}
      !endif
    ${ElseIf} $R2 = ${ERROR_FILE_NOT_FOUND}
    ${OrIf} $R2 = ${ERROR_PATH_NOT_FOUND}
      StrCpy $R0 "free"
      ${ExitDo}
    ${EndIf}
    ${If} $R3 >= ${DLL_WAIT_STEPS}
      StrCpy $R0 "held"
      ${ExitDo}
    ${EndIf}
    Sleep ${DLL_WAIT_STEP_MS}
    IntOp $R3 $R3 + 1
  ${Loop}
  Pop $R3
  Pop $R2
  Pop $R1
  Exch $R0
FunctionEnd
!macroend
!insertmacro WAIT_FOR_DLL ""
!insertmacro WAIT_FOR_DLL "un."

; Asks the player to close Winamp and the game while their windows exist:
; Windows neither replaces nor deletes a plug-in that either has loaded.
; Setup then waits for the DLL itself, which Winamp holds a while after its
; window has gone; the uninstaller waits for it as it deletes it.
; Cancelling (the answer in silent mode) quits, having changed nothing.
!macro CLOSE_PROGRAMS un
Function ${un}ClosePrograms
  ${Do}
    FindWindow $0 "${WINAMP_CLASS}"
    ${If} $0 != 0
      StrCpy $1 "Winamp is running. Please close Winamp, then click Retry."
    ${Else}
      FindWindow $0 "${GAME_CLASS}"
      ${If} $0 != 0
        StrCpy $1 "The game is running, and it keeps ${PRODUCT} loaded until it ends. Please close the game, then click Retry."
      ${Else}
        !if "${un}" == "un."
          ${ExitDo}
        !else
          Push "$INSTDIR\Plugins\gen_vireo.dll"
          Call WaitForDll
          Pop $0
          ${IfThen} $0 == "free" ${|} ${ExitDo} ${|}
          StrCpy $1 "gen_vireo.dll is still in use (Winamp or the game may still be ending). Please close the program that holds it, then click Retry."
        !endif
      ${EndIf}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$1" /SD IDCANCEL IDRETRY retry
    SetErrorLevel ${EXIT_REFUSED}
    Quit
    retry:
  ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_PROGRAMS ""
!insertmacro CLOSE_PROGRAMS "un."

; The uninstall entry of the copy in the Winamp folder WINAMP, SIZE KB.
; Written by the installer, and again by an uninstaller whose removal waits
; for a restart.
!macro WRITE_ENTRY WINAMP SIZE
  WriteRegStr HKLM "${ARP_KEY}" "DisplayName" "${PRODUCT} ${VERSION_TEXT}"
  WriteRegStr HKLM "${ARP_KEY}" "DisplayVersion" "${VERSION_TEXT}"
  WriteRegStr HKLM "${ARP_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${ARP_KEY}" "InstallLocation" "${WINAMP}"
  WriteRegStr HKLM "${ARP_KEY}" "DisplayIcon" "${WINAMP}\winamp.exe"
  WriteRegStr HKLM "${ARP_KEY}" "UninstallString" '"${WINAMP}\Plugins\${UNINSTALLER}"'
  WriteRegStr HKLM "${ARP_KEY}" "QuietUninstallString" '"${WINAMP}\Plugins\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${ARP_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${ARP_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${ARP_KEY}" "EstimatedSize" ${SIZE}
!macroend

; Deletes KEY under ROOT, then its parent and grandparent once nothing else
; is in them (the publisher's key may hold other products).
!macro REMOVE_SETTINGS_KEY ROOT KEY
  DeleteRegKey ${ROOT} "${KEY}"
  ${GetParent} "${KEY}" $R2
  DeleteRegKey /ifempty ${ROOT} $R2
  ${GetParent} $R2 $R2
  DeleteRegKey /ifempty ${ROOT} $R2
!macroend

Function .onInit
  ; Windows deletes the path of a pending removal when it restarts, whatever
  ; file is there then, and the entry is volatile until then: an install now
  ; would vanish with the restart.
  ReadRegStr $0 HKLM "${ARP_KEY}" "${PENDING_VALUE}"
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONEXCLAMATION \
      "The removal of ${PRODUCT} waits for Windows to restart. Please restart Windows, then run Setup again." /SD IDOK
    SetErrorLevel ${EXIT_REFUSED}
    Quit
  ${EndIf}
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
  Call ClosePrograms
  SetOutPath "$INSTDIR\Plugins"
  File "/oname=gen_vireo.dll" "${DLL}"
  WriteUninstaller "$INSTDIR\Plugins\${UNINSTALLER}"
  ; In KB, the DLL and the uninstaller.
  ${GetSize} "$INSTDIR\Plugins" "/M=gen_vireo.dll /S=0K /G=0" $0 $1 $2
  ${GetSize} "$INSTDIR\Plugins" "/M=${UNINSTALLER} /S=0K /G=0" $1 $2 $3
  IntOp $0 $0 + $1
  !insertmacro WRITE_ENTRY $INSTDIR $0
SectionEnd

; $R1: how the key $R3 under HKEY_USERS opens for reading in the registry view
; that $R9 names (0, or ${KEY_WOW64_64KEY} beside SetRegView 64): 0, or a Win32 error.
!macro OPEN_USER_KEY
  IntOp $R4 ${KEY_READ} | $R9
  System::Call 'advapi32::RegOpenKeyExW(p ${HKEY_USERS}, w R3, i 0, i R4, *p .R5) i .R1'
  ${If} $R1 = 0
    System::Call 'advapi32::RegCloseKey(p R5)'
  ${EndIf}
!macroend

; Removes the settings key $R3 under HKEY_USERS and its empty parents; $R8
; becomes "failed" when it could not be opened or still exists.
Function un.RemoveUserKey
  !insertmacro OPEN_USER_KEY
  ${If} $R1 = 0
    !insertmacro REMOVE_SETTINGS_KEY HKU $R3
    !insertmacro OPEN_USER_KEY
  ${EndIf}
  ${If} $R1 <> ${ERROR_FILE_NOT_FOUND}
  ${AndIf} $R1 <> ${ERROR_PATH_NOT_FOUND}
    StrCpy $R8 "failed"
  ${EndIf}
FunctionEnd

; The user's key and the VirtualStore copy of the machine's key, where
; Windows put a virtualized program's (the game's) writes to it, of the hive $R7.
!macro REMOVE_USER_KEYS
  StrCpy $R3 "$R7\${SETTINGS_KEY}"
  Call un.RemoveUserKey
  StrCpy $R3 "$R7\${VIRTUAL_STORE}\${SETTINGS_UNDER_SOFTWARE}"
  Call un.RemoveUserKey
!macroend

; Removes the settings of every user whose hive is loaded under HKEY_USERS
; (every logged-on user); $R6 lists the hives, one a line, that kept some.
Function un.RemoveUsersSettings
  StrCpy $R6 ""
  StrCpy $R0 0
  ${Do}
    EnumRegKey $R7 HKU "" $R0
    ${IfThen} $R7 == "" ${|} ${ExitDo} ${|}
    IntOp $R0 $R0 + 1
    StrLen $R1 "${USER_SID_PREFIX}"
    StrCpy $R1 $R7 $R1
    StrLen $R2 "${USER_CLASSES_SUFFIX}"
    StrCpy $R2 $R7 "" -$R2
    ${If} $R1 == "${USER_SID_PREFIX}"
    ${AndIf} $R2 != "${USER_CLASSES_SUFFIX}"
      StrCpy $R8 ""
      StrCpy $R9 0
      !insertmacro REMOVE_USER_KEYS
      ; On 64-bit Windows a 32-bit program's copy lies under WOW6432Node,
      ; and a 64-bit one's beside it; the 64-bit view shows both as they
      ; are. 32-bit Windows has no such view.
      ${If} ${RunningX64}
        SetRegView 64
        StrCpy $R9 ${KEY_WOW64_64KEY}
        !insertmacro REMOVE_USER_KEYS
        StrCpy $R3 "$R7\${VIRTUAL_STORE}\WOW6432Node\${SETTINGS_UNDER_SOFTWARE}"
        Call un.RemoveUserKey
        SetRegView default
      ${EndIf}
      ${IfThen} $R8 != "" ${|} StrCpy $R6 "$R6$\r$\n$R7" ${|}
    ${EndIf}
  ${Loop}
FunctionEnd

; A removal that waits for a restart has nothing more to do.
Function un.onInit
  ReadRegStr $0 HKLM "${ARP_KEY}" "${PENDING_VALUE}"
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONINFORMATION \
      "The removal of ${PRODUCT} waits for Windows to restart. Please restart Windows to finish it." /SD IDOK
    SetErrorLevel ${EXIT_RESTART}
    Quit
  ${EndIf}
FunctionEnd

; The uninstaller runs from the Plugins folder, so $INSTDIR is that folder.
Section "Uninstall"
  ; A game that is starting or ending has no window but may hold the DLL:
  ; then, if the player does not wait for it (nor a silent uninstall),
  ; Windows deletes it when it restarts.
  ${Do}
    Call un.ClosePrograms
    Push "$INSTDIR\gen_vireo.dll"
    Call un.WaitForDll
    Pop $0
    ${IfThen} $0 == "free" ${|} ${ExitDo} ${|}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "gen_vireo.dll is still in use (a game that is starting or ending, say). Please close the program that holds it, then click Retry; or click Cancel, and Windows deletes it when it next restarts." \
      /SD IDCANCEL IDRETRY retry
    ${ExitDo}
    retry:
  ${Loop}
  Delete /REBOOTOK "$INSTDIR\gen_vireo.dll"
  ${If} ${FileExists} "$INSTDIR\gen_vireo.dll"
  ${AndIf} ${RebootFlag}
    ; The entry and this uninstaller stay until the DLL is gone, and go with
    ; the same restart: the entry is written again as a volatile key, which
    ; Windows does not keep across a restart, and the uninstaller is deleted
    ; then too. A second uninstall or an install meanwhile is refused.
    ; (The size as the installer measured it: a held file may not open.)
    ${GetParent} $INSTDIR $5
    ReadRegDWORD $6 HKLM "${ARP_KEY}" "EstimatedSize"
    DeleteRegKey HKLM "${ARP_KEY}"
    System::Call 'advapi32::RegCreateKeyExW(p ${HKEY_LOCAL_MACHINE}, w "${ARP_KEY}", i 0, p 0, i ${REG_OPTION_VOLATILE}, i ${KEY_WRITE}, p 0, *p .r1, p 0) i .r0'
    ${If} $0 == 0
      System::Call 'advapi32::RegCloseKey(p r1)'
    ${EndIf}
    !insertmacro WRITE_ENTRY $5 $6
    WriteRegStr HKLM "${ARP_KEY}" "${PENDING_VALUE}" "$INSTDIR\gen_vireo.dll"
    System::Call 'kernel32::MoveFileExW(w "$INSTDIR\${UNINSTALLER}", p 0, i ${MOVEFILE_DELAY_UNTIL_REBOOT}) i'
    MessageBox MB_OK|MB_ICONINFORMATION \
      "gen_vireo.dll is still in use, so Windows will delete it when it restarts. Please restart Windows to finish removing ${PRODUCT}." /SD IDOK
    SetErrorLevel ${EXIT_RESTART}
  ${ElseIf} ${FileExists} "$INSTDIR\gen_vireo.dll"
    ; Not even a deletion at the restart could be arranged: all stays.
    MessageBox MB_OK|MB_ICONSTOP \
      "gen_vireo.dll could not be deleted. Please close Winamp and the game, then run the uninstaller again." /SD IDOK
    SetErrorLevel ${EXIT_REFUSED}
    Quit
  ${Else}
    ; Run in place (_?=), Windows cannot delete the running uninstaller
    ; before it restarts.
    Delete /REBOOTOK "$INSTDIR\${UNINSTALLER}"
    DeleteRegKey HKLM "${ARP_KEY}"
  ${EndIf}

  ; The settings stay unless the player asks; silent uninstalls keep them
  ; unless given ${REMOVE_SETTINGS_OPTION}.
  StrCpy $0 "keep"
  ${If} ${Silent}
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "${REMOVE_SETTINGS_OPTION}" $2
    ${IfNot} ${Errors}
      StrCpy $0 "remove"
    ${EndIf}
  ${Else}
    MessageBox MB_YESNO|MB_ICONQUESTION \
      "Remove the ${PRODUCT} settings too, yours and those of every other user who is logged on? Keep them if you will install ${PRODUCT} again." \
      IDNO +2
    StrCpy $0 "remove"
  ${EndIf}
  ${If} $0 == "remove"
    !insertmacro REMOVE_SETTINGS_KEY HKLM "${SETTINGS_KEY}"
    ; Elevated, this user may be an administrator who is not the player:
    ; every loaded user hive is cleaned, the player's among them.
    Call un.RemoveUsersSettings
    ${If} $R6 != ""
      MessageBox MB_OK|MB_ICONEXCLAMATION \
        "The ${PRODUCT} settings of these users could not be removed:$\r$\n$R6" /SD IDOK
    ${EndIf}
  ${EndIf}
SectionEnd
