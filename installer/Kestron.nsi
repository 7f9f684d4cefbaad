; KESTRON setup: installs Kestron.exe into the companion's folder (the folder
; that holds the file Korvastel), with a Start-menu shortcut, an optional
; desktop shortcut and an uninstaller that removes exactly those.
;
; installer/CMakeLists.txt builds it and defines TARGET (x86-unicode, or
; amd64-unicode for the 64-bit test build), VERSION (1.0) and VERSION_DOTS
; (1.0.0.0), BRAND (the brand's names and icon, generated from the brand
; folder: PRODUCT, COMPANY, BRAND_ICON, APP_ID), KESTRON_EXE (the launcher to pack)
; and OUTFILE; for a signed
; release also SIGN (a command that signs the file it is given) and
; SIGNED_UNINSTALLER (where the signed uninstaller is copied).
;
; Silent use: Setup.exe /S [/D=folder]; /D must come last, without quotes.
; Exit status 0 installed, 2 the folder does not hold Korvastel (nothing is
; written), 3 Kestron is running from that folder or from the installed one,
; 4 the user has no administrator rights (nothing is written; the
; uninstaller too), 5 installed, but Windows did not take the taskbar
; identity into a shortcut.

Unicode true
Target ${TARGET}
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; The same bytes from every build of a commit: no packed file keeps the time
; it was built at (an installed file gets the time it was installed at).
SetDateSave off

!ifdef SIGN
  ; The uninstaller is signed before it is packed, the installer last.
  !uninstfinalize '"${SIGN}" "%1" && cp "%1" "${SIGNED_UNINSTALLER}"' = 0
  !finalize '"${SIGN}" "%1"' = 0
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinVer.nsh

; As in the launcher's version resource (ui/Kestron.rc).
!include "${BRAND}"
!define TITLE "${PRODUCT} V${VERSION}"
!define UNINSTALLER "Kestron-uninstall.exe"
; In the registry view of the installer's own bitness, as for the launcher it
; installs: the shipped 32-bit one writes the 32-bit view (WOW6432Node on 64-bit
; Windows), the 64-bit test build the 64-bit view.
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestron"
!define EXIT_NO_COMPANION 2
!define EXIT_KESTRON_RUNS 3
!define EXIT_NOT_ADMIN 4
!define EXIT_NO_APP_ID 5
; The shell's link object and what the installer asks of it.
!define CLSID_SHELLLINK "{00021401-0000-0000-C000-000000000046}"
!define IID_ISHELLLINKW "{000214F9-0000-0000-C000-000000000046}"
!define IID_IPERSISTFILE "{0000010B-0000-0000-C000-000000000046}"
!define IID_IPROPERTYSTORE "{886D8EEB-8CF2-4446-8D02-CDBA1DBDCF99}"
; System.AppUserModel.ID is property 5 of this set.
!define FMTID_APPUSERMODEL "{9F4C2855-9F79-4B39-A8D0-E1D42DE1D5F3}"

Name "${TITLE}"
OutFile "${OUTFILE}"
BrandingText "${COMPANY}"
; The companion may sit at the root of a drive; the Korvastel check guards the choice.
AllowRootDirInstall true
; The directory page shows its hint where the free-space line would be.
SpaceTexts none

VIProductVersion "${VERSION_DOTS}"
VIFileVersion "${VERSION_DOTS}"

!define MUI_ICON "${BRAND_ICON}"
!define MUI_UNICON "${BRAND_ICON}"
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_DIRECTORYPAGE_TEXT_TOP "$(DirTop)"
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "$(DirBox)"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE RefuseWhileKestronRuns
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one for systems in neither language.
!insertmacro MUI_LANGUAGE English
!insertmacro MUI_LANGUAGE SimpChinese

; No LegalCopyright: the launcher's own version resource names none either.
!pragma warning disable 9100
VIAddVersionKey /LANG=${LANG_ENGLISH} ProductName "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} CompanyName "${COMPANY}"
VIAddVersionKey /LANG=${LANG_ENGLISH} ProductVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} FileVersion "${VERSION}"
!if ${TARGET} == amd64-unicode
  VIAddVersionKey /LANG=${LANG_ENGLISH} FileDescription "${PRODUCT} setup, 64-bit test build (not shipped)"
!else
  VIAddVersionKey /LANG=${LANG_ENGLISH} FileDescription "${PRODUCT} setup"
!endif

LangString DirTop ${LANG_ENGLISH} "Setup installs ${TITLE} beside the programmer software. Choose the folder that holds its file Korvastel."
LangString DirTop ${LANG_SIMPCHINESE} "安装程序将把 ${TITLE} 安装在编程器软件旁边。请选择包含其文件 Korvastel 的文件夹。"
LangString DirBox ${LANG_ENGLISH} "Folder of the programmer software"
LangString DirBox ${LANG_SIMPCHINESE} "编程器软件所在的文件夹"
LangString NoCompanion ${LANG_ENGLISH} "This folder does not hold Korvastel."
LangString NoCompanion ${LANG_SIMPCHINESE} "此文件夹中没有 Korvastel。"
LangString KestronRuns ${LANG_ENGLISH} "Kestron is running from $R9.$\r$\nClose it, then choose Retry."
LangString KestronRuns ${LANG_SIMPCHINESE} "Kestron 正在从 $R9 运行。$\r$\n请先关闭它，然后选择“重试”。"
LangString NotAdminSetup ${LANG_ENGLISH} "Setup of ${TITLE} needs administrator rights: it installs for every user of this computer.$\r$\nLog on as an administrator, then run it again."
LangString NotAdminSetup ${LANG_SIMPCHINESE} "安装 ${TITLE} 需要管理员权限：它为这台计算机的所有用户安装。$\r$\n请以管理员身份登录，然后再次运行。"
LangString NotAdminRemove ${LANG_ENGLISH} "Removing ${TITLE} needs administrator rights.$\r$\nLog on as an administrator, then run it again."
LangString NotAdminRemove ${LANG_SIMPCHINESE} "卸载 ${TITLE} 需要管理员权限。$\r$\n请以管理员身份登录，然后再次运行。"
LangString DesktopShortcut ${LANG_ENGLISH} "Desktop shortcut"
LangString DesktopShortcut ${LANG_SIMPCHINESE} "桌面快捷方式"
LangString NoAppId ${LANG_ENGLISH} "${TITLE} is installed, but Windows did not take its taskbar identity into the shortcut $0 (error $2). A taskbar pin of the programmer software may start it without ${TITLE}."
LangString NoAppId ${LANG_SIMPCHINESE} "${TITLE} 已安装，但 Windows 未能把其任务栏标识写入快捷方式 $0（错误 $2）。固定到任务栏的编程器软件可能会绕过 ${TITLE} 启动。"

; ${If} ${HoldsCompanion} folder: the folder holds a file (not a folder) named Korvastel.
!macro _HoldsCompanion _a _b _t _f
  !insertmacro _LOGICLIB_TEMP
  StrCpy $_LOGICLIB_TEMP 0
  IfFileExists `${_b}\Korvastel\*.*` +3  ; a folder of that name does not count
  IfFileExists `${_b}\Korvastel` 0 +2
  StrCpy $_LOGICLIB_TEMP 1
  StrCmp $_LOGICLIB_TEMP 1 `${_t}` `${_f}`
!macroend
!define HoldsCompanion `"" HoldsCompanion`

; Both the installer and the uninstaller refuse to run while a process runs
; the Kestron.exe they would replace or remove. Only the image path counts:
; another program's Kestron.exe elsewhere does not stop them.
!macro DEFINE_RUNNING_CHECKS UN
  ; Pushes 1 when a running process's image is the folder's Kestron.exe, else 0.
  Function ${UN}KestronRunsIn
    Exch $0
    Push $1
    Push $2
    Push $3
    Push $4
    Push $5
    StrCpy $1 0
    ${If} ${FileExists} "$0\Kestron.exe"
      System::Call 'kernel32::GetLongPathNameW(w "$0\Kestron.exe", w .r2, i ${NSIS_MAX_STRLEN})'
      System::Alloc 16384
      Pop $3
      System::Call 'psapi::EnumProcesses(p r3, i 16384, *i .r4)'
      ${DoWhile} $4 > 0
        IntOp $4 $4 - 4
        IntPtrOp $5 $3 + $4
        System::Call '*$5(i .r5)'
        System::Call 'kernel32::OpenProcess(i 0x410, i 0, i r5) p .r5'  ; query and read
        ${If} $5 P<> 0
          System::Call 'psapi::GetModuleFileNameExW(p r5, p 0, w .r0, i ${NSIS_MAX_STRLEN})'
          System::Call 'kernel32::CloseHandle(p r5)'
          System::Call 'kernel32::GetLongPathNameW(w r0, w .r0, i ${NSIS_MAX_STRLEN})'
          ${If} $0 == $2
            StrCpy $1 1
            ${Break}
          ${EndIf}
        ${EndIf}
      ${Loop}
      System::Free $3
    ${EndIf}
    StrCpy $0 $1
    Pop $5
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Exch $0
  FunctionEnd

  ; Says so and offers Retry while Kestron runs from the folder in $R9; on
  ; Cancel, and always when silent, ends the program with status 3.
  Function ${UN}RefuseWhileKestronRunsIn
    ${Do}
      Push $R9
      Call ${UN}KestronRunsIn
      Pop $0
      ${If} $0 = 0
        Return
      ${EndIf}
    ${LoopUntil} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONSTOP "$(KestronRuns)" /SD IDCANCEL IDCANCEL`
    SetErrorLevel ${EXIT_KESTRON_RUNS}
    Quit
  FunctionEnd
!macroend
!insertmacro DEFINE_RUNNING_CHECKS ""
!insertmacro DEFINE_RUNNING_CHECKS "un."

; Windows XP ignores RequestExecutionLevel: there a user without
; administrator rights would get part of an install, its all-users
; registry entries failing without a word. Says so and ends instead, with
; status 4 (silent too).
!macro REFUSE_WITHOUT_ADMIN MESSAGE
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "$(${MESSAGE})" /SD IDOK
    SetErrorLevel ${EXIT_NOT_ADMIN}
    Quit
  ${EndIf}
!macroend

; The chosen folder, and the one an earlier install was made to.
Function RefuseWhileKestronRuns
  StrCpy $R9 $INSTDIR
  Call RefuseWhileKestronRunsIn
  ReadRegStr $R9 HKLM "${UNINSTALL_KEY}" InstallLocation
  ${If} $R9 != ""
  ${AndIf} $R9 != $INSTDIR
    Call RefuseWhileKestronRunsIn
  ${EndIf}
FunctionEnd

Function .onInit
  !insertmacro REFUSE_WITHOUT_ADMIN NotAdminSetup
  SetShellVarContext all
  ${If} $INSTDIR == ""  ; no /D=
    StrCpy $INSTDIR $PROGRAMFILES
    ${If} ${HoldsCompanion} $EXEDIR
      StrCpy $INSTDIR $EXEDIR
    ${EndIf}
  ${EndIf}
  ${If} ${Silent}
    ${IfNot} ${HoldsCompanion} $INSTDIR
      SetErrorLevel ${EXIT_NO_COMPANION}
      Quit
    ${EndIf}
    Call RefuseWhileKestronRuns
  ${EndIf}
FunctionEnd

; Keeps Next disabled, with a hint, until the folder holds Korvastel.
Function .onVerifyInstDir
  ${If} ${HoldsCompanion} $INSTDIR
    SendMessage $mui.DirectoryPage.SpaceAvailable ${WM_SETTEXT} 0 "STR:"
  ${Else}
    SendMessage $mui.DirectoryPage.SpaceAvailable ${WM_SETTEXT} 0 "STR:$(NoCompanion)"
    Abort
  ${EndIf}
FunctionEnd

; An install made to another folder is removed first: one Kestron, one entry.
Function RemoveEarlierInstallElsewhere
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" InstallLocation
  ${If} $0 != ""
  ${AndIf} $0 != $INSTDIR
  ${AndIf} ${FileExists} "$0\${UNINSTALLER}"
    ExecWait '"$0\${UNINSTALLER}" /S _?=$0'
    Delete "$0\${UNINSTALLER}"  ; run in place, it cannot remove itself
  ${EndIf}
FunctionEnd

; Gives the shortcut file $0 the taskbar identity the launcher starts the
; companion with (Windows 7 and later): a pin of the companion's taskbar
; button is then a pin of this shortcut, which starts the launcher. The
; shell's link object is asked through its COM interfaces; every call's
; result is checked, and a failure leaves the shortcut as it was made, says
; so, and ends the setup with status 5. $1 to $6 are its own.
Function SetShortcutAppId
  ${IfNot} ${AtLeastWin7}
    Return
  ${EndIf}
  StrCpy $1 0  ; the link
  StrCpy $3 0  ; its file interface
  StrCpy $4 0  ; its property store
  System::Call 'ole32::CoCreateInstance(g "${CLSID_SHELLLINK}", p 0, i 1, g "${IID_ISHELLLINKW}", *p .r1) i .r2'
  ${If} $2 = 0
    System::Call '$1->0(g "${IID_IPERSISTFILE}", *p .r3) i .r2'  ; QueryInterface
  ${EndIf}
  ${If} $2 = 0
    System::Call '$3->5(w r0, i 2) i .r2'  ; Load, for reading and writing
  ${EndIf}
  ${If} $2 = 0
    System::Call '$1->0(g "${IID_IPROPERTYSTORE}", *p .r4) i .r2'
  ${EndIf}
  ${If} $2 = 0
    System::Call '*(g "${FMTID_APPUSERMODEL}", i 5) p .r5'  ; the property's key
    ; A PROPVARIANT holding a wide string (VT_LPWSTR, 31), padded to its size.
    System::Call '*(i 31, i 0, w "${APP_ID}", p 0) p .r6'
    System::Call '$4->6(p r5, p r6) i .r2'  ; SetValue
    System::Free $5
    System::Free $6
  ${EndIf}
  ${If} $2 = 0
    System::Call '$4->7() i .r2'  ; Commit
  ${EndIf}
  ${If} $2 = 0
    System::Call '$3->6(p 0, i 1) i .r2'  ; Save, into the file loaded
  ${EndIf}
  ${If} $4 != 0
    System::Call '$4->2()'  ; Release
  ${EndIf}
  ${If} $3 != 0
    System::Call '$3->2()'
  ${EndIf}
  ${If} $1 != 0
    System::Call '$1->2()'
  ${EndIf}
  ${If} $2 != 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(NoAppId)" /SD IDOK
    SetErrorLevel ${EXIT_NO_APP_ID}
  ${EndIf}
FunctionEnd

Section "${TITLE}" SecLauncher
  SectionIn RO
  Call RemoveEarlierInstallElsewhere
  SetOutPath $INSTDIR
  File "/oname=Kestron.exe" "${KESTRON_EXE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  ; The working folder is $INSTDIR, the current output path.
  CreateShortcut "$SMPROGRAMS\${TITLE}.lnk" "$INSTDIR\Kestron.exe" "" "$INSTDIR\Kestron.exe" 0
  StrCpy $0 "$SMPROGRAMS\${TITLE}.lnk"
  Call SetShortcutAppId

  ; The estimated size counts the two files, in KiB rounded up.
  ${GetSize} "$INSTDIR" "/M=Kestron.exe /S=0B /G=0" $0 $1 $2
  ${GetSize} "$INSTDIR" "/M=${UNINSTALLER} /S=0B /G=0" $1 $2 $3
  IntOp $0 $0 + $1
  IntOp $0 $0 + 1023
  IntOp $0 $0 / 1024
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayName "${TITLE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" Publisher "${COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayIcon "$INSTDIR\Kestron.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" EstimatedSize $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoModify 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoRepair 1
SectionEnd

Section "$(DesktopShortcut)" SecDesktop
  SetOutPath $INSTDIR
  CreateShortcut "$DESKTOP\${TITLE}.lnk" "$INSTDIR\Kestron.exe" "" "$INSTDIR\Kestron.exe" 0
  StrCpy $0 "$DESKTOP\${TITLE}.lnk"
  Call SetShortcutAppId
SectionEnd

Function un.onInit
  !insertmacro REFUSE_WITHOUT_ADMIN NotAdminRemove
  SetShellVarContext all
  StrCpy $R9 $INSTDIR
  Call un.RefuseWhileKestronRunsIn
FunctionEnd

; Removes what the installer added and nothing else: the companion's folder
; and its files stay.
Section "Uninstall"
  Delete "$DESKTOP\${TITLE}.lnk"
  Delete "$SMPROGRAMS\${TITLE}.lnk"
  Delete "$INSTDIR\Kestron.exe"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\${UNINSTALLER}"
SectionEnd
