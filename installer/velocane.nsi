; The installer of Velocane, per machine, with administrator rights. Built
; by installer/CMakeLists.txt with these defines:
;   ARCH         x64 or x86
;   TARGET       amd64-unicode or x86-unicode (the NSIS stub)
;   PROGRAM      the path of velocane.exe to install
;   UNINSTALLER  the path of uninstall.exe to install beside it (uninstall.cpp:
;                NSIS's own uninstallers end before their work is done)
;   ICON         the program's icon
;   VERSION      the product version, e.g. 3.12
;   OUTFILE      the installer to write
; /S runs it silently; a refusal or a failure then ends it with a non-zero
; exit code: 2 while the program runs, 3 when a step failed.

Target ${TARGET}
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Velocane"
!define PUBLISHER "The Velocane developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velocane"
; The running program is found as its own single-instance guard finds it.
!define APP_WINDOW_CLASS "TVelocaneApplication"
!define APP_WINDOW_TITLE "Velocane ${VERSION}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
!if ${ARCH} == "x64"
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
; An upgrade goes where the earlier version is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.1680.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}.1680.0"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

!macro REFUSE_WHILE_RUNNING WHAT
  FindWindow $0 "${APP_WINDOW_CLASS}" "${APP_WINDOW_TITLE}"
  ${If} $0 <> 0
    MessageBox MB_OK|MB_ICONSTOP "Velocane is running. Close it first (its icon may be in the notification area), then start the ${WHAT} again." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
!macroend

!macro VIEW
  !if ${ARCH} == "x64"
    SetRegView 64
  !endif
!macroend

Function .onInit
  !insertmacro VIEW
  !insertmacro REFUSE_WHILE_RUNNING "setup"
FunctionEnd

Function Failed
  ; Nothing is registered before every file is in place.
  MessageBox MB_OK|MB_ICONSTOP "Setup could not write its files to $INSTDIR. Nothing was registered; check the folder and your rights, then run the setup again." /SD IDOK
  SetErrorLevel 3
  Abort
FunctionEnd

Section "Velocane"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  ClearErrors
  SetOverwrite on
  File "/oname=velocane.exe" "${PROGRAM}"
  ${If} ${Errors}
    Call Failed
  ${EndIf}
  File "/oname=uninstall.exe" "${UNINSTALLER}"
  ${If} ${Errors}
    Call Failed
  ${EndIf}

  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\velocane.exe" "" "$INSTDIR\velocane.exe" 0

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velocane.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd
