; The Windows installer of Tavlo: the full edition with its command-line program tavlo.exe,
; and the update-only edition as an optional component, in one folder sharing the Qt and
; runtime DLLs. Per user by default (no
; administrator needed), for every user of the machine with /AllUsers. Installing over an
; earlier install replaces it in place; the uninstaller removes everything it installed.
; makensis -DVERSION=... -DPUBLISHER=... -DAPPDIR=<deployed Tavlo_App folder>
;          -DUPDATER_EXE=<deployed "Tavlo Updater.exe"> -DOUTFILE=<Tavlo-Setup-VERSION.exe>
;          -DICON=<tavlo_windows_icon.ico> [-DFAST_COMPRESSION]
Target amd64-unicode
!define NAME "Tavlo"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavlo"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${NAME}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "Software\${PUBLISHER}\${NAME}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallDir"
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
!ifdef FAST_COMPRESSION ; the CI smoke test: quicker to make, larger
SetCompressor zlib
!else
SetCompressor /SOLID lzma
!endif
Icon "${ICON}"
UninstallIcon "${ICON}"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${NAME} ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Tavlo" SecFull
    SectionIn RO
    ; An earlier install in this folder is replaced in place: its files go first, so that
    ; nothing of the old version stays beside the new one.
    ${If} ${FileExists} "$INSTDIR\Uninstall.exe"
        RMDir /r "$INSTDIR\plugins"
        RMDir /r "$INSTDIR\qml"
        Delete "$INSTDIR\*.dll"
        Delete "$INSTDIR\*.exe"
        Delete "$INSTDIR\qt.conf"
    ${EndIf}
    SetOutPath "$INSTDIR"
    File /r "${APPDIR}\*.*"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateDirectory "$SMPROGRAMS\${NAME}"
    CreateShortCut "$SMPROGRAMS\${NAME}\Tavlo.lnk" "$INSTDIR\Tavlo_App.exe" "" "$INSTDIR\Tavlo_App.exe" 0
    CreateShortCut "$SMPROGRAMS\${NAME}\Uninstall Tavlo.lnk" "$INSTDIR\Uninstall.exe"
    WriteRegStr SHCTX "Software\${PUBLISHER}\${NAME}" "InstallDir" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tavlo_App.exe"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "Tavlo Updater (update only)" SecUpdater
    SetOutPath "$INSTDIR"
    File "${UPDATER_EXE}"
    CreateDirectory "$SMPROGRAMS\${NAME}"
    CreateShortCut "$SMPROGRAMS\${NAME}\Tavlo Updater.lnk" "$INSTDIR\Tavlo Updater.exe" "" "$INSTDIR\Tavlo Updater.exe" 0
SectionEnd

Section "Uninstall"
    Delete "$SMPROGRAMS\${NAME}\Tavlo.lnk"
    Delete "$SMPROGRAMS\${NAME}\Tavlo Updater.lnk"
    Delete "$SMPROGRAMS\${NAME}\Uninstall Tavlo.lnk"
    RMDir "$SMPROGRAMS\${NAME}"
    RMDir /r "$INSTDIR\plugins"
    RMDir /r "$INSTDIR\qml"
    Delete "$INSTDIR\*.dll"
    Delete "$INSTDIR\Tavlo_App.exe"
    Delete "$INSTDIR\tavlo.exe"
    Delete "$INSTDIR\Tavlo Updater.exe"
    Delete "$INSTDIR\qt.conf"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    DeleteRegKey SHCTX "Software\${PUBLISHER}\${NAME}"
    DeleteRegKey /ifempty SHCTX "Software\${PUBLISHER}"
SectionEnd
