; The Windows installer (NSIS 3): scripts/windows runs
;   makensis -DVERSION=1.1 -DSTAGE=<the unpacked program> -DOUTFILE=<setup.exe> -DICON=<rovi-tool.ico> installer.nsi
; Per machine, into Program Files\ROVI Reader Tool (administrator rights).
; A Start menu entry (and, when chosen, a desktop one) starts the tool with
; --in-data-folder, so set.ini and the record files live in the user's
; %APPDATA%\rovi-tool; .rovi profiles open in the tool; the uninstaller is
; listed under Apps, removes what was installed, and leaves the data folder
; unless asked. An install over an older one removes the older one first.
; A 64-bit installer, as the program it installs (and what a 64-bit-only Wine runs).
Target amd64-unicode
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"

!define PRODUCT "ROVI Reader Tool"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ROVIReaderTool"
!define PROG_ID "ROVI.ReaderProfile"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "ROVI"
VIAddVersionKey /LANG=1033 "LegalCopyright" "See copyright.txt"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\rovi-tool.exe"
!define MUI_FINISHPAGE_RUN_PARAMETERS "--in-data-folder"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The pages in the system's language: Chinese on a Chinese system, English otherwise.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString DesktopShortcut ${LANG_ENGLISH} "Desktop shortcut"
LangString DesktopShortcut ${LANG_SIMPCHINESE} "桌面快捷方式"
LangString RemoveData ${LANG_ENGLISH} "Also remove your settings and records ($APPDATA\rovi-tool)?"
LangString RemoveData ${LANG_SIMPCHINESE} "同时删除您的设置和记录（$APPDATA\rovi-tool）吗？"
LangString ProfileType ${LANG_ENGLISH} "ROVI reader profile"
LangString ProfileType ${LANG_SIMPCHINESE} "ROVI 读卡器参数文件"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP "64-bit Windows is needed." /SD IDOK
        Abort
    ${EndIf}
    SetRegView 64
    ; An older install: its own uninstaller removes it, in place.
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
    ${AndIf} ${FileExists} "$0\uninstall.exe"
        ExecWait '"$0\uninstall.exe" /S _?=$0'
        Delete "$0\uninstall.exe"
        RMDir "$0"
    ${EndIf}
FunctionEnd

Section "!${PRODUCT}" SecProgram
    SectionIn RO
    SetShellVarContext all ; the Start menu of every user of the machine
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*.*"
    File "/oname=rovi-tool.ico" "${ICON}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; The menu entry starts in the data folder's stead: the program makes
    ; %APPDATA%\rovi-tool and works there (--in-data-folder).
    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\rovi-tool.exe" "--in-data-folder" "$INSTDIR\rovi-tool.ico"

    WriteRegStr HKCR ".rovi" "" "${PROG_ID}"
    WriteRegStr HKCR "${PROG_ID}" "" "$(ProfileType)"
    WriteRegStr HKCR "${PROG_ID}\DefaultIcon" "" "$INSTDIR\rovi-tool.ico"
    WriteRegStr HKCR "${PROG_ID}\shell\open\command" "" '"$INSTDIR\rovi-tool.exe" --in-data-folder "%1"'
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "ROVI"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\rovi-tool.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "$(DesktopShortcut)" SecDesktop
    SetShellVarContext all
    CreateShortCut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\rovi-tool.exe" "--in-data-folder" "$INSTDIR\rovi-tool.ico"
SectionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$DESKTOP\${PRODUCT}.lnk"
    ReadRegStr $0 HKCR ".rovi" ""
    ${If} $0 == "${PROG_ID}"
        DeleteRegKey HKCR ".rovi"
    ${EndIf}
    DeleteRegKey HKCR "${PROG_ID}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    RMDir /r "$INSTDIR"
    ; The user's settings and records stay unless asked (never in a silent uninstall).
    SetShellVarContext current
    MessageBox MB_YESNO|MB_ICONQUESTION "$(RemoveData)" /SD IDNO IDNO keep
        RMDir /r "$APPDATA\rovi-tool"
    keep:
SectionEnd
