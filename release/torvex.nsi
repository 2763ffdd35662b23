; The Torvex installer (NSIS 3, 64-bit Unicode stub: a 64-bit program, so $SYSDIR is the real
; 64-bit system folder and the registry is the 64-bit view, with no redirection).
; Built by scripts/dist, which passes the version and the files to pack:
;   makensis -DVERSION=2.0.0 -DCOPYRIGHT="Copyright ..." -DSCR=Torvex.scr -DREADME=README.txt
;            -DLICENSE=LICENSE.txt
;            -DICON=torvex.ico -DSIDE=installer_side.bmp -DOUTFILE=installer.exe release/torvex.nsi
; Command line of the installer: /S silent, /NOACTIVATE leave the current screen saver as it is,
; /D=FOLDER the folder for the README, the licence and the uninstaller.

!ifndef VERSION | COPYRIGHT | SCR | README | LICENSE | ICON | SIDE | OUTFILE
  !error "scripts/dist passes VERSION, COPYRIGHT, SCR, README, LICENSE, ICON, SIDE and OUTFILE"
!endif

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define PRODUCT "The Torvex"
!define PUBLISHER "Qor"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Torvex"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_SEND 3
!define SESSION_MANAGER_KEY "SYSTEM\CurrentControlSet\Control\Session Manager"
!define PENDING_VALUE "PendingFileRenameOperations"
!define HKLM_HANDLE -2147483646  ; HKEY_LOCAL_MACHINE as a 64-bit handle, sign-extended
!define RRF_RT_REG_MULTI_SZ 0x20
!define REG_MULTI_SZ 7
!define SYNCHRONIZE_AND_QUERY 0x101000  ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
!define ERROR_SUCCESS_REBOOT_REQUIRED 3010

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} Installer"
UninstallCaption "${PRODUCT} ${VERSION} Uninstaller"
BrandingText "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Torvex"
; An earlier version's folder is the default, so installing over it replaces it.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} screen saver installer"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COPYRIGHT}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${SIDE}"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!define MUI_FINISHPAGE_RUN_TEXT "Open the Screen Saver Settings"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenSaverSettings

!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "${PRODUCT} screen saver" SecSaver
  SectionIn RO
  SetRegView 64
  Call RemoveEarlierFolder
  SetOverwrite on
  ; The system folder is where the Screen Saver Settings look for savers.
  SetOutPath "$SYSDIR"
  File "/oname=Torvex.scr" "${SCR}"
  SetOutPath "$INSTDIR"
  File "/oname=README.txt" "${README}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; One Apps & Features entry; a later install writes over the same key.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  ${GetSize} "$SYSDIR" "/M=Torvex.scr /S=0K /G=0" $3 $1 $2
  IntOp $0 $0 + $3
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\Torvex.scr,0"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ; An uninstall that found the saver running left its deletion for the next restart: these
  ; files are installed now and must survive that restart.
  Push "$SYSDIR\Torvex.scr"
  Call ForgetPendingOperation
  Push "$INSTDIR\README.txt"
  Call ForgetPendingOperation
  Push "$INSTDIR\LICENSE.txt"
  Call ForgetPendingOperation
  Push "$INSTDIR\uninstall.exe"
  Call ForgetPendingOperation
SectionEnd

; The check box: what right-click Install does, for the user who runs the installer.
Section "Make ${PRODUCT} my screen saver" SecActivate
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\Torvex.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  System::Call "user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATE_AND_SEND})"
SectionEnd

Function .onInit
  SetRegView 64
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/NOACTIVATE" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecActivate} 0
  ${EndIf}
FunctionEnd

; An earlier installation in another folder (a new /D, or another folder on the directory page)
; is removed first by its own uninstaller, silently: otherwise its README, licence and
; uninstaller stay behind, orphaned, and the one Apps & Features entry names only the new folder.
; That uninstaller clears SCRNSAVE.EXE when it names the installed saver; the new one takes the
; same place in the system folder, so the user's choice is put back (/NOACTIVATE keeps it too).
Function RemoveEarlierFolder
  Push $0  ; the earlier folder
  Push $1  ; SCRNSAVE.EXE before
  Push $2  ; SCRNSAVE.EXE after
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == ""
  ${OrIf} $0 == $INSTDIR
  ${OrIfNot} ${FileExists} "$0\uninstall.exe"
    Goto done
  ${EndIf}
  DetailPrint "Removing the earlier installation in $0"
  ReadRegStr $1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ; In place (_?=, last and unquoted), so the wait lasts until it is done; then its own file
  ; and the folder go.
  ExecWait '"$0\uninstall.exe" /S _?=$0'
  Delete "$0\uninstall.exe"
  RMDir "$0"
  ReadRegStr $2 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $1 != ""
  ${AndIf} $2 == ""
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $1
  ${EndIf}
done:
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; Takes a path from the stack and removes from PendingFileRenameOperations every operation that
; the next restart would carry out on that file (its deletion, or its move elsewhere). The value
; is a list of pairs of strings, "\??\" and the file, then the target or an empty string.
Function ForgetPendingOperation
  Exch $0  ; the path
  Push $1  ; the value's size in bytes, then the size kept
  Push $2  ; the value as read
  Push $3  ; the value as written back
  Push $4  ; offset of the pair being read
  Push $5  ; its first string, then the result of a comparison
  Push $6  ; length of the first string, then of the second, then of the pair
  Push $7  ; scratch
  System::Call 'advapi32::RegGetValueW(p ${HKLM_HANDLE}, w "${SESSION_MANAGER_KEY}", \
      w "${PENDING_VALUE}", i ${RRF_RT_REG_MULTI_SZ}, p 0, p 0, *i 0 r1) i .r7'
  ${If} $7 <> 0
  ${OrIf} $1 < 4
    Goto done
  ${EndIf}
  System::Alloc $1
  Pop $2
  System::Alloc $1
  Pop $3
  System::Call 'advapi32::RegGetValueW(p ${HKLM_HANDLE}, w "${SESSION_MANAGER_KEY}", \
      w "${PENDING_VALUE}", i ${RRF_RT_REG_MULTI_SZ}, p 0, p r2, *i r1 r1) i .r7'
  ${If} $7 <> 0
    Goto free
  ${EndIf}
  StrCpy $4 0
  StrCpy $7 0  ; bytes kept
  ${Do}
    IntPtrOp $5 $2 + $4
    System::Call 'kernel32::lstrlenW(p r5) i .r6'
    ${If} $6 = 0
      ${Break}  ; the empty string that ends the list
    ${EndIf}
    ; The second string follows the first and its terminating zero.
    IntOp $6 $6 + 1
    IntOp $6 $6 * 2
    IntOp $6 $6 + $4
    ${If} $6 >= $1
      ${Break}  ; a pair without its second string: the rest is kept as it is
    ${EndIf}
    Push $6
    IntPtrOp $6 $2 + $6
    System::Call 'kernel32::lstrlenW(p r6) i .r6'
    IntOp $6 $6 + 1
    IntOp $6 $6 * 2
    Exch $6
    Pop $5  ; bytes of the second string
    IntOp $6 $6 + $5
    IntOp $6 $6 - $4  ; bytes of the whole pair
    IntPtrOp $5 $2 + $4
    System::Call 'kernel32::lstrcmpiW(p r5, w "\??\$0") i .r5'
    ${If} $5 <> 0
      IntPtrOp $5 $3 + $7
      Push $4
      IntPtrOp $4 $2 + $4
      System::Call 'kernel32::RtlMoveMemory(p r5, p r4, p r6)'
      Pop $4
      IntOp $7 $7 + $6
    ${EndIf}
    IntOp $4 $4 + $6
  ${Loop}
  ${If} $7 = $4
    Goto free  ; nothing of this file is pending
  ${EndIf}
  ; What is left of the list after the pair that stopped the walk, and the list's end.
  IntOp $1 $1 - $4
  IntPtrOp $5 $3 + $7
  IntPtrOp $6 $2 + $4
  System::Call 'kernel32::RtlMoveMemory(p r5, p r6, p r1)'
  IntOp $1 $1 + $7
  ${If} $1 <= 4
    DeleteRegValue HKLM "${SESSION_MANAGER_KEY}" "${PENDING_VALUE}"
  ${Else}
    System::Call 'advapi32::RegSetKeyValueW(p ${HKLM_HANDLE}, w "${SESSION_MANAGER_KEY}", \
        w "${PENDING_VALUE}", i ${REG_MULTI_SZ}, p r3, i r1) i .r7'
  ${EndIf}
free:
  System::Free $2
  System::Free $3
done:
  Pop $7
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

Function OpenSaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

; Ends each running saver started from the installed Torvex.scr: its full-screen window (class
; "OpenGL") gets the close request that the saver takes as it takes input, and the uninstaller
; waits up to ten seconds for the process to end. A saver it cannot reach (on another desktop,
; say) or that does not end keeps running, and its file goes at the next restart.
Function un.EndRunningSavers
  Push $0  ; a window
  Push $1  ; its process id, then the process
  Push $2  ; the process's program
  Push $3  ; scratch
  StrCpy $0 0
  ${Do}
    FindWindow $0 "OpenGL" "" "" $0
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i 0 r1)'
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE_AND_QUERY}, i 0, i r1) p .r1'
    ${If} $1 P<> 0
      System::Call 'kernel32::QueryFullProcessImageNameW(p r1, i 0, w .r2, *i ${NSIS_MAX_STRLEN}) i .r3'
      ${If} $3 <> 0
      ${AndIf} $2 == "$SYSDIR\Torvex.scr"
        DetailPrint "Ending the running screen saver"
        System::Call 'user32::PostMessageW(p r0, i ${WM_CLOSE}, p 0, p 0)'
        System::Call 'kernel32::WaitForSingleObject(p r1, i 10000) i .r3'
        ${If} $3 = 0
          StrCpy $0 0  ; its window is gone: look again from the first
        ${EndIf}
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r1)'
    ${EndIf}
  ${Loop}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

Section "Uninstall"
  ; Whether the current saver is this one: the installed file's path, long or short (8.3), in
  ; any case, or its bare name (found in the system folder), each also in double quotes.
  ; Another copy, C:\Savers\Torvex.scr say, is the user's own and stays chosen. Taken while the
  ; file still exists.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  StrCpy $5 $0 1
  StrCpy $6 $0 "" -1
  ${If} $5 == '"'
  ${AndIf} $6 == '"'
    StrCpy $0 $0 -1 1
  ${EndIf}
  StrCpy $1 0
  GetFullPathName /SHORT $2 "$SYSDIR\Torvex.scr"
  System::Call 'kernel32::GetLongPathNameW(w r0, w .r3, i ${NSIS_MAX_STRLEN}) i .r4'
  ${If} $0 != ""
    ${If} $0 == "$SYSDIR\Torvex.scr"
    ${OrIf} $0 == "Torvex.scr"
    ${OrIf} $0 == $2
      StrCpy $1 1
    ${ElseIf} $4 <> 0
    ${AndIf} $3 == "$SYSDIR\Torvex.scr"
      StrCpy $1 1
    ${EndIf}
  ${EndIf}

  ; A running saver holds its file: it is asked to end first. Where that cannot be done the file
  ; goes at the next restart, and the uninstaller says so (the reboot flag, exit code 3010).
  Call un.EndRunningSavers
  ClearErrors
  Delete "$SYSDIR\Torvex.scr"
  ${If} ${Errors}
    Sleep 500  ; a saver that has just ended may hold its file for a moment longer
    ClearErrors
    Delete /REBOOTOK "$SYSDIR\Torvex.scr"
  ${EndIf}
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; The user's own settings (HKCU\Software\Qor\Torvex Saver V2) stay: the README says how to
  ; remove them.
  ${If} $1 = 1
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}
  ${If} ${RebootFlag}
    SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
    DetailPrint "Torvex.scr is in use: Windows removes it when it restarts."
    MessageBox MB_OK|MB_ICONINFORMATION "Restart Windows to finish removing ${PRODUCT}." /SD IDOK
  ${EndIf}
SectionEnd
