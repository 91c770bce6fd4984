; The suite's setup program for 64-bit Windows: installs the dialog programs that were built,
; the command-line tools and the samples for all users under Program Files, with Start-menu
; entries and an entry in the system's list of installed programs.
;
; Built by scripts/windows-package.sh, which stages the files and passes:
;   VERSION  the suite's version ("4.0")
;   FILES    an include file with the macros InstallFiles, UninstallFiles (every staged file)
;            and UninstallFolders (their folders, deepest first), the define PROGRAMS naming
;            the programs in words, and a define HAVE_<Program> for each dialog program present
;   OUTFILE  the setup program to write
; Command line of the setup program: /S installs silently, /D=FOLDER (last) sets the folder.
; The uninstaller takes /S as well; the user's settings (HKCU\Software\Hadrel) and the
; per-user data folder (%LOCALAPPDATA%\Hadrel) are never touched.

Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel admin
AllowSkipFiles off

!ifndef VERSION
  !error "VERSION must be defined (scripts/windows-package.sh does)"
!endif
!ifndef FILES
  !error "FILES must be defined (scripts/windows-package.sh does)"
!endif
!ifndef OUTFILE
  !error "OUTFILE must be defined (scripts/windows-package.sh does)"
!endif

!define PRODUCT "Hadrel Service Suite"
!define PUBLISHER "Hadrel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\HadrelServiceSuite"
!define UNINSTALLER "Uninstall.exe"
!define START_MENU "$SMPROGRAMS\${PRODUCT}"

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "${FILES}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Hadrel\Service Suite"
; An update goes where the suite already is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!define MUI_ABORTWARNING
; The setup program and its uninstaller carry the PLC program's icon.
!define MUI_ICON "${__FILEDIR__}\..\..\cmake\windows\quarnwin.ico"
!define MUI_UNICON "${__FILEDIR__}\..\..\cmake\windows\quarnwin.ico"
!define MUI_WELCOMEPAGE_TEXT "This will install ${PROGRAMS} with their sample files on this computer for all users.$\r$\n$\r$\nYour settings and logs are kept when you update or uninstall.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Installing for all users writes Program Files and HKLM: only an administrator can.
!macro RequireAdministrator
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} is installed for all users of this computer, which needs an administrator. Please run this program again as an administrator." /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
!macroend

!macro Shortcut PROGRAM DESCRIPTION
  !ifdef HAVE_${PROGRAM}
    CreateShortcut "${START_MENU}\${PROGRAM}.lnk" "$INSTDIR\${PROGRAM}.exe" "" \
      "$INSTDIR\${PROGRAM}.exe" 0 SW_SHOWNORMAL "" "${DESCRIPTION}"
  !endif
!macroend

Function .onInit
  SetShellVarContext all
  SetRegView 64
  !insertmacro RequireAdministrator
FunctionEnd

Section "Service Suite" SecSuite
  SectionIn RO
  SetShellVarContext all
  SetRegView 64

  ; An earlier installation in the folder is removed first, so that no file it had and
  ; this version has not stays behind.
  ${If} ${FileExists} "$INSTDIR\${UNINSTALLER}"
    ClearErrors
    ExecWait '"$INSTDIR\${UNINSTALLER}" /S _?=$INSTDIR' $0
    ${If} ${Errors}
    ${OrIf} $0 != 0
      MessageBox MB_OK|MB_ICONSTOP "The installed ${PRODUCT} in $INSTDIR could not be removed before the update, probably because one of its programs is still running. Please close ${PROGRAMS}, then run this setup again." /SD IDOK
      SetErrorLevel 2
      Abort "The earlier installation is still in use."
    ${EndIf}
    Delete "$INSTDIR\${UNINSTALLER}" ; run in place, it could not remove itself
  ${EndIf}

  !insertmacro InstallFiles
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; Start menu: the dialog programs, and a command prompt that finds the command-line tools.
  CreateDirectory "${START_MENU}"
  !insertmacro Shortcut "QuarnWin" "Reset, program and monitor a Quarn PLC over a serial line"
  !insertmacro Shortcut "Skellig" "Send a text display its setup, text pages and clock over a serial line"
  !insertmacro Shortcut "Vantor" "Fetch a text display's message protocol and statistics over a serial line"
  CreateShortcut "${START_MENU}\Service Suite Command Prompt.lnk" "$SYSDIR\cmd.exe" \
    '/k cd /d "%USERPROFILE%" && set "PATH=$INSTDIR;%PATH%" && echo quarnctl, skelligctl and vantorctl: add --help for their commands.' \
    "$SYSDIR\cmd.exe" 0 SW_SHOWNORMAL "" "A command prompt for quarnctl, skelligctl and vantorctl"

  ; The entry in the system's list of installed programs.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  !ifdef HAVE_QuarnWin
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\QuarnWin.exe,0"
  !else
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${UNINSTALLER},0"
  !endif
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
  !insertmacro RequireAdministrator
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  SetRegView 64

  ; QuarnWin registers itself as an automation server for its user whenever it starts; the
  ; program takes the registration back before it goes.
  !ifdef HAVE_QuarnWin
    ${If} ${FileExists} "$INSTDIR\QuarnWin.exe"
      ExecWait '"$INSTDIR\QuarnWin.exe" /UnregServer'
    ${EndIf}
  !endif

  ; Only what the setup program installed; a file of the user's own keeps its folder.
  ClearErrors
  !insertmacro UninstallFiles
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONEXCLAMATION "Some files of ${PRODUCT} in $INSTDIR could not be removed, probably because a program of the suite is still running. Please close ${PROGRAMS}, then uninstall again." /SD IDOK
    SetErrorLevel 2
    Abort "Files in use: ${PRODUCT} is not completely removed."
  ${EndIf}

  Delete "${START_MENU}\QuarnWin.lnk"
  Delete "${START_MENU}\Skellig.lnk"
  Delete "${START_MENU}\Vantor.lnk"
  Delete "${START_MENU}\Service Suite Command Prompt.lnk"
  RMDir "${START_MENU}"

  !insertmacro UninstallFolders
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  ; The maker's folder under Program Files, when no other program of the maker is in it.
  ${If} "$INSTDIR" == "$PROGRAMFILES64\Hadrel\Service Suite"
    RMDir "$PROGRAMFILES64\Hadrel"
  ${EndIf}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
