; Quillotune's installer. makensis is given, by installer/CMakeLists.txt:
;   VERSION       the program's version (major.minor.patch)
;   FILE_VERSION  the same with four numbers, for the installer's own version resource
;   FILES         the folder holding Quillotune.exe and DodIvadorO.dll
;   ICON          the program's icon (the uninstaller's too)
;   WELCOME       the picture beside the welcome and finish pages (164 x 314)
;   OUTFILE       the installer to write
; and the stub (x86 for the shipped 32-bit program, amd64 for a 64-bit build).
;
; It installs for all users: the program folder under Program Files, a Start
; menu shortcut and an entry in the list of installed programs. The
; uninstaller removes exactly these, and nothing the user made: disc images
; live in the user's Music folder, and a file the user put into the program
; folder keeps the folder.

Unicode true
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define PRODUCT "Quillotune"
!define PUBLISHER "Quillotune"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillotune"
!define SHORTCUT "$SMPROGRAMS\Quillotune.lnk"

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} Setup"
UninstallCaption "${PRODUCT} ${VERSION} Uninstall"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
; The program is as wide as its build: 32-bit programs belong in the 32-bit
; Program Files folder, their uninstall entry in the 32-bit registry view.
!if ${NSIS_PTR_SIZE} > 4
InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
InstallDir "$PROGRAMFILES32\${PRODUCT}"
!endif
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${FILE_VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WELCOME}"
!define MUI_ABORTWARNING
; The log of what was installed stays up until the user goes on.
!define MUI_FINISHPAGE_NOAUTOCLOSE
!define MUI_FINISHPAGE_RUN "$INSTDIR\Quillotune.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Function .onInit
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetShellVarContext all
FunctionEnd

Section "Quillotune"
    SetOutPath "$INSTDIR"
    File "${FILES}\Quillotune.exe"
    File "${FILES}\DodIvadorO.dll"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ; The shortcut starts the program in its own folder.
    CreateShortcut "${SHORTCUT}" "$INSTDIR\Quillotune.exe" "" "$INSTDIR\Quillotune.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quillotune.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
    ; A running program keeps its file: say so and change nothing, rather than
    ; leave a half-removed program without its uninstall entry.
    ClearErrors
    Delete "$INSTDIR\Quillotune.exe"
    IfErrors 0 removed
        MessageBox MB_OK|MB_ICONEXCLAMATION "${PRODUCT} is running. Close it, then uninstall again." /SD IDOK
        Abort "${PRODUCT} is running."
    removed:
    Delete "$INSTDIR\DodIvadorO.dll"
    Delete "$INSTDIR\Uninstall.exe"
    ; Only when empty: whatever the user keeps here stays, with its folder.
    RMDir "$INSTDIR"

    Delete "${SHORTCUT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
