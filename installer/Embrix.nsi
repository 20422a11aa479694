; Embrix setup: puts the saver where Windows lists screen savers, registers an
; uninstaller with the installed programs and, if asked, makes Embrix the
; current screen saver.
;
; makensis -DVERSION=1.0.0 -DSCR32=<32-bit .scr> -DSCR64=<64-bit .scr>
;          -DICON=<.ico> -DOUTFILE=<setup.exe> [-DTARGET=amd64-unicode] Embrix.nsi
;
; Switches: /S runs silently; with /S, /CURRENT also makes Embrix the current
; screen saver (the wizard offers it as a checked component).

!ifndef VERSION | SCR32 | SCR64 | ICON | OUTFILE
  !error "VERSION, SCR32, SCR64, ICON and OUTFILE must be defined"
!endif
!ifndef TARGET
  !define TARGET x86-unicode
!endif
Target ${TARGET}
!if "${TARGET}" == "amd64-unicode"
  ; A 64-bit setup always runs on 64-bit Windows: the checks for it fold
  ; away and leave labels unused.
  !pragma warning disable 6012
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh

!define UninstallKey "Software\Microsoft\Windows\CurrentVersion\Uninstall\Embrix"
!define DesktopKey "Control Panel\Desktop"
; The registry value in which Windows keeps the path of the current screen
; saver (a value name only; nothing of a saver framework is used).
!define SaverValue "SCRNSAVE.EXE"
; Where the uninstall entry remembers the screen saver that Embrix replaced.
!define PreviousSaverValue "PreviousScreenSaver"

Name "Embrix"
Caption "Embrix ${VERSION} Setup"
UninstallCaption "Embrix Uninstall"
BrandingText "Embrix ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Embrix"
RequestExecutionLevel admin
ManifestSupportedOS all
SetCompressor /SOLID lzma
; A saver that could not be written must fail the setup, not be skipped.
AllowSkipFiles off
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Embrix"
VIAddVersionKey /LANG=1033 "FileDescription" "Embrix fire screen saver setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "Embrix developers"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 Embrix developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC

!define MUI_WELCOMEPAGE_TITLE "Embrix ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "Embrix is a screen saver that draws an animated fire.$\r$\n$\r$\n\
Setup copies Embrix.scr into the Windows system folder, where the Screen Saver \
settings list it: the 64-bit saver on 64-bit Windows, with the 32-bit one beside \
the other 32-bit programs, or the 32-bit saver on 32-bit Windows. It adds an \
uninstaller to the list of installed programs and can make Embrix your screen saver.\
$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Embrix is installed. Choose it under Screen Saver in the \
display settings, where Settings opens its dialog and Preview shows it."
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Both the installer and the uninstaller see the 64-bit registry and, while
; they handle files, the real system folders of 64-bit Windows.
!macro EnterSystemView
  ${If} ${RunningX64}
    SetRegView 64
    !if ${NSIS_PTR_SIZE} <= 4
      ${DisableX64FSRedirection}
    !endif
  ${EndIf}
!macroend
!macro LeaveFileSystemView
  ${If} ${RunningX64}
    !if ${NSIS_PTR_SIZE} <= 4
      ${EnableX64FSRedirection}
    !endif
  ${EndIf}
!macroend

; Sets $1 to 1 when $0 names the installed saver, in its long or short form.
!macro IsInstalledSaver
  StrCpy $1 0
  ${If} $0 == "$SYSDIR\Embrix.scr"
    StrCpy $1 1
  ${Else}
    GetFullPathName /SHORT $2 "$SYSDIR\Embrix.scr"
    ${If} $2 != ""
    ${AndIf} $0 == $2
      StrCpy $1 1
    ${EndIf}
  ${EndIf}
!macroend

Section "Embrix screen saver" SecSaver
  SectionIn RO
  !insertmacro EnterSystemView
  ${If} ${RunningX64}
    SetOutPath "$SYSDIR"
    File "/oname=Embrix.scr" "${SCR64}"
    SetOutPath "$WINDIR\SysWOW64"
    File "/oname=Embrix.scr" "${SCR32}"
  ${Else}
    SetOutPath "$SYSDIR"
    File "/oname=Embrix.scr" "${SCR32}"
  ${EndIf}
  !insertmacro LeaveFileSystemView

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${UninstallKey}" "DisplayName" "Embrix"
  WriteRegStr HKLM "${UninstallKey}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UninstallKey}" "Publisher" "Embrix developers"
  WriteRegStr HKLM "${UninstallKey}" "DisplayIcon" "$SYSDIR\Embrix.scr,0"
  WriteRegStr HKLM "${UninstallKey}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UninstallKey}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UninstallKey}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UninstallKey}" "NoModify" 1
  WriteRegDWORD HKLM "${UninstallKey}" "NoRepair" 1
  SectionGetSize ${SecSaver} $0
  WriteRegDWORD HKLM "${UninstallKey}" "EstimatedSize" $0
SectionEnd

Section "Make Embrix the current screen saver" SecCurrent
  !insertmacro EnterSystemView
  ; Remember what Embrix replaces, once: a reinstall over ourselves must not
  ; remember Embrix.
  ClearErrors
  ReadRegStr $0 HKCU "${DesktopKey}" "${SaverValue}"
  ${IfNot} ${Errors}
    !insertmacro IsInstalledSaver
    ${If} $1 == 0
      WriteRegStr HKLM "${UninstallKey}" "${PreviousSaverValue}" $0
    ${EndIf}
  ${Else}
    DeleteRegValue HKLM "${UninstallKey}" "${PreviousSaverValue}"
  ${EndIf}
  WriteRegStr HKCU "${DesktopKey}" "${SaverValue}" "$SYSDIR\Embrix.scr"
  !insertmacro LeaveFileSystemView
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecSaver} "Embrix.scr in the Windows system folder, and its uninstaller."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecCurrent} "Sets Embrix as your screen saver; uninstalling puts back the one it replaced."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  ${If} ${Silent}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/CURRENT" $1
    ${If} ${Errors}
      !insertmacro UnselectSection ${SecCurrent}
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  !insertmacro EnterSystemView
  ; The current screen saver goes back to what Embrix replaced, but only if
  ; it is still Embrix: a saver chosen since then stays.
  ClearErrors
  ReadRegStr $0 HKCU "${DesktopKey}" "${SaverValue}"
  ${IfNot} ${Errors}
    !insertmacro IsInstalledSaver
    ${If} $1 == 1
      ClearErrors
      ReadRegStr $3 HKLM "${UninstallKey}" "${PreviousSaverValue}"
      ${If} ${Errors}
        DeleteRegValue HKCU "${DesktopKey}" "${SaverValue}"
      ${Else}
        WriteRegStr HKCU "${DesktopKey}" "${SaverValue}" $3
      ${EndIf}
    ${EndIf}
  ${EndIf}

  Delete "$SYSDIR\Embrix.scr"
  ${If} ${RunningX64}
    Delete "$WINDIR\SysWOW64\Embrix.scr"
  ${EndIf}
  !insertmacro LeaveFileSystemView

  ; This runs from a copy of the uninstaller, started by the original just
  ; before it ends: give the original a moment to let go of its file.
  StrCpy $4 0
  ${Do}
    ClearErrors
    Delete "$INSTDIR\Uninstall.exe"
    ${IfNot} ${FileExists} "$INSTDIR\Uninstall.exe"
      ${Break}
    ${EndIf}
    IntOp $4 $4 + 1
    ${If} $4 >= 50
      Delete /REBOOTOK "$INSTDIR\Uninstall.exe"
      ${Break}
    ${EndIf}
    Sleep 100
  ${Loop}
  RMDir /REBOOTOK "$INSTDIR"
  DeleteRegKey HKLM "${UninstallKey}"
SectionEnd
