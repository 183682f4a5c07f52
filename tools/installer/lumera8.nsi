; The Windows installer of Lumera 8.0 (makensis, called by tools/package-windows.sh).
;   makensis -DVERSION=8.0.0 -DARCH=x86|x64 -DSOURCE=<folder with the four files> -DOUTFILE=<setup.exe> lumera8.nsi
; It installs the game, its puzzle file, its help and its licence into a folder under Program
; Files (a per-user folder when the player is not an administrator), adds a Start menu
; shortcut that starts the game in that folder, and an uninstaller listed under installed
; programs. /S installs silently. The player's settings are never touched.
Unicode true
SetCompressor /SOLID lzma

!if "${ARCH}" == "x64"
  Target amd64-unicode
  !define MULTIUSER_USE_PROGRAMFILES64
!endif

!define PRODUCT "Lumera 8.0"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumera 8.0"

; Everyone may install: administrators for all users, others for themselves.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!include MultiUser.nsh
!include LogicLib.nsh

Name "${PRODUCT}"
Caption "${PRODUCT} Setup"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
LicenseData "${SOURCE}\licence.txt"
LicenseForceSelection checkbox
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Freeware"

Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Lumera 8.0"
  SetOutPath "$INSTDIR"
  File "${SOURCE}\lumera8.exe"
  File "${SOURCE}\Lumera8.dat"
  File "${SOURCE}\lumera8.html"
  File "${SOURCE}\licence.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The game opens its puzzle file and help by relative name: the shortcut starts it in the
  ; install folder, which is the output path when the shortcut is made.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\lumera8.exe" "" "$INSTDIR\lumera8.exe" 0 \
                 SW_SHOWNORMAL "" "Play the cryptogram game ${PRODUCT}"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\lumera8.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "lumera.example"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "https://lumera.example/"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" 1024
SectionEnd

; Removes the program's files, its shortcut and its entry; the player's settings stay.
Section "Uninstall"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\lumera8.exe"
  Delete "$INSTDIR\Lumera8.dat"
  Delete "$INSTDIR\lumera8.html"
  Delete "$INSTDIR\licence.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
