; SPDX-License-Identifier: MIT
; The Windows installer, built by scripts/release with Debian's makensis:
;   makensis -DVERSION=1.0.0 -DFILES=folder -DOUTFILE=setup.exe installer.nsi
; FILES holds tarnwick.exe, tarnwick.ico, LICENSE.txt and README.txt. It installs the game under
; Program Files, with a Start menu shortcut and an entry in the installed apps, for every user of
; the machine; /S installs and uninstalls silently. The uninstaller takes away what the installer
; put there, and nothing else. No file's time goes into the installer, so the same files give the
; same bytes.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
SetDateSave off
RequestExecutionLevel admin
ManifestDPIAware true

!define NAME "Tarnwick Alpha"
!define PUBLISHER "The Tarnwick Alpha developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TarnwickAlpha"

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
Icon "${FILES}\tarnwick.ico"
UninstallIcon "${FILES}\tarnwick.ico"
InstallDir "$PROGRAMFILES64\${NAME}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${NAME}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${NAME} ${VERSION} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}. MIT License."

Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles
LicenseData "${FILES}\LICENSE.txt"

; For every user, in the 64-bit registry and Program Files.
!macro ForEveryUser
  SetShellVarContext all
  SetRegView 64
!macroend

Function .onInit
  !insertmacro ForEveryUser
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  File "${FILES}\tarnwick.exe"
  File "${FILES}\LICENSE.txt"
  File "${FILES}\README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\tarnwick.exe" "" "$INSTDIR\tarnwick.exe" 0
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tarnwick.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
  !insertmacro ForEveryUser
FunctionEnd

; Only what the installer made: a folder the player put files in stays, with them.
Section "Uninstall"
  Delete "$SMPROGRAMS\${NAME}.lnk"
  Delete "$INSTDIR\tarnwick.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
