; The Zanvo installer. makensis gets the version and the paths of the files to install as defines:
; VERSION, VERSION4, OUTFILE, ZANVO_EXE, MONDREL_DLL, KOLVANE_DLL, ZANVO_DDE_EXE, GUIDE_PDF,
; SAMPLE_INI. "/S" installs and uninstalls silently. The installer is a 64-bit program, as Zanvo is,
; so it sees the 64-bit registry and program folder.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "LogicLib.nsh"
!include "WinMessages.nsh"
!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zanvo"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The tray program's hidden main window and its "Exit" menu command.
!define MAIN_WINDOW_CLASS "ZanvoMainApplication"
!define ID_APP_EXIT 32770

Name "Zanvo ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Zanvo"
BrandingText "Zanvo ${VERSION}"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=1033 "ProductName" "Zanvo"
VIAddVersionKey /LANG=1033 "CompanyName" "Orbalis"
VIAddVersionKey /LANG=1033 "FileDescription" "Zanvo ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Orbalis"

!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Ends a running Zanvo through its Exit command, so that its files can be replaced or removed,
; and waits up to ten seconds for its window to go.
!macro EXIT_ZANVO un
Function ${un}ExitZanvo
    FindWindow $0 "${MAIN_WINDOW_CLASS}"
    ${If} $0 == 0
        Return
    ${EndIf}
    SendMessage $0 ${WM_COMMAND} ${ID_APP_EXIT} 0 /TIMEOUT=10000
    StrCpy $1 0
    ${Do}
        Sleep 200
        FindWindow $0 "${MAIN_WINDOW_CLASS}"
        IntOp $1 $1 + 1
        ${If} $0 == 0
        ${OrIf} $1 >= 50
            ${Break}
        ${EndIf}
    ${Loop}
    ; The process ends just after its window.
    Sleep 1000
FunctionEnd
!macroend
!insertmacro EXIT_ZANVO ""
!insertmacro EXIT_ZANVO "un."

; Sets $0 to 1 when the files $1 and $2 hold the same lines, else to 0.
Function un.SameText
    StrCpy $0 0
    ClearErrors
    FileOpen $3 $1 r
    ${If} ${Errors}
        Return
    ${EndIf}
    FileOpen $4 $2 r
    ${If} ${Errors}
        FileClose $3
        Return
    ${EndIf}
    ${Do}
        ClearErrors
        FileRead $3 $5
        ${If} ${Errors}
            ClearErrors
            FileRead $4 $6
            ${IfThen} ${Errors} ${|} StrCpy $0 1 ${|}
            ${Break}
        ${EndIf}
        FileRead $4 $6
        ${IfThen} ${Errors} ${|} ${Break} ${|}
        ${IfThen} $5 != $6 ${|} ${Break} ${|}
    ${Loop}
    FileClose $3
    FileClose $4
FunctionEnd

Section "Zanvo" SecProgram
    SectionIn RO
    Call ExitZanvo
    SetOutPath "$INSTDIR"
    File "/oname=Zanvo.exe" "${ZANVO_EXE}"
    File "/oname=Mondrel.dll" "${MONDREL_DLL}"
    File "/oname=kolvane.dll" "${KOLVANE_DLL}"
    File "/oname=zanvo-dde.exe" "${ZANVO_DDE_EXE}"
    File "/oname=Zanvo.pdf" "${GUIDE_PDF}"
    ; The user's settings survive a reinstall or an update. The settings dialog saves into this
    ; file, so every user of the computer may change it (S-1-5-32-545: the Users group).
    ${IfNot} ${FileExists} "$INSTDIR\Zanvo.ini"
        File "/oname=Zanvo.ini" "${SAMPLE_INI}"
        nsExec::Exec '"$SYSDIR\icacls.exe" "$INSTDIR\Zanvo.ini" /grant *S-1-5-32-545:M'
        Pop $0
    ${EndIf}
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ExecWait '"$INSTDIR\Zanvo.exe" /RegServer' $0
    ${If} $0 != 0
        DetailPrint "Zanvo.exe /RegServer ended with $0"
    ${EndIf}

    SetShellVarContext all
    CreateDirectory "$SMPROGRAMS\Zanvo"
    CreateShortcut "$SMPROGRAMS\Zanvo\Zanvo.lnk" "$INSTDIR\Zanvo.exe"
    CreateShortcut "$SMPROGRAMS\Zanvo\Zanvo User Guide.lnk" "$INSTDIR\Zanvo.pdf"
    CreateShortcut "$SMPROGRAMS\Zanvo\Uninstall Zanvo.lnk" "$INSTDIR\Uninstall.exe"

    ; The next section writes it again when chosen.
    DeleteRegValue HKLM "${RUN_KEY}" "Zanvo"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Zanvo"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Orbalis"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Zanvo.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Start with Windows" SecAutostart
    WriteRegStr HKLM "${RUN_KEY}" "Zanvo" '"$INSTDIR\Zanvo.exe"'
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "The tray program, its libraries, zanvo-dde.exe and the user guide."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecAutostart} "Start Zanvo when a user logs on."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
    Call un.ExitZanvo
    ExecWait '"$INSTDIR\Zanvo.exe" /UnregServer'

    Delete "$INSTDIR\Zanvo.exe"
    Delete "$INSTDIR\Mondrel.dll"
    Delete "$INSTDIR\kolvane.dll"
    Delete "$INSTDIR\zanvo-dde.exe"
    Delete "$INSTDIR\Zanvo.pdf"
    ; Zanvo.ini goes only when it is still the sample: the user's settings stay.
    InitPluginsDir
    File "/oname=$PLUGINSDIR\sample.ini" "${SAMPLE_INI}"
    StrCpy $1 "$INSTDIR\Zanvo.ini"
    StrCpy $2 "$PLUGINSDIR\sample.ini"
    Call un.SameText
    ${If} $0 == 1
        Delete "$INSTDIR\Zanvo.ini"
    ${EndIf}
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"

    SetShellVarContext all
    Delete "$SMPROGRAMS\Zanvo\Zanvo.lnk"
    Delete "$SMPROGRAMS\Zanvo\Zanvo User Guide.lnk"
    Delete "$SMPROGRAMS\Zanvo\Uninstall Zanvo.lnk"
    RMDir "$SMPROGRAMS\Zanvo"

    DeleteRegValue HKLM "${RUN_KEY}" "Zanvo"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
