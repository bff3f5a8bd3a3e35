; The Windows installer of Ravlet, built by scripts/windows-package.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.1 -DSTAGE=<folder with the files> -DICON=<ravlet.ico> -DOUTFILE=<setup.exe> installer.nsi
; Ravlet works on the tarven.ini and rvbase.txt of its own folder, so it is installed into
; the emulator's folder the user picks. It installs only its own files there, and its
; uninstaller removes those alone: the user's files in that folder are never touched.
; Per user, without administrator rights: the emulator's folder must be writable by the
; user anyway, since Ravlet saves tarven.ini there.
; 64-bit, as the programs are (and wine without its 32-bit part runs it).
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ravlet"
!define UNINSTALLER "ravlet-uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\Ravlet.lnk"

Name "Ravlet ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "Ravlet ${VERSION}"
; A folder of one's own to begin with; an earlier installation's folder when there is one.
InstallDir "$LOCALAPPDATA\Programs\Ravlet"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1049 "ProductName" "Ravlet"
VIAddVersionKey /LANG=1049 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "FileDescription" "Установка Ravlet, настройщика Tarven Pimlow"
VIAddVersionKey /LANG=1049 "LegalCopyright" "© 2026 the Ravlet authors"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_DIRECTORYPAGE_TEXT_TOP "Выберите папку эмулятора Tarven Pimlow — ту, где лежат tarven.ini и rvbase.txt. Ravlet настраивает файлы своей папки. В неё будут установлены ravlet.exe, ravlet-cli.exe и ravlet-readme.txt; файлы эмулятора установка не меняет, а удаление Ravlet их не тронет."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "Папка эмулятора"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckEmulatorFolder
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Ravlet установлен в папку $INSTDIR. Ярлык «Ravlet» в меню «Пуск» открывает его в этой папке."
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "Будут удалены ravlet.exe, ravlet-cli.exe, ravlet-readme.txt, эта программа удаления и ярлык «Ravlet» в меню «Пуск». Файлы эмулятора (tarven.ini, rvbase.txt и остальные) останутся в папке."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Russian"

; The files Ravlet puts into the emulator's folder, for the install and the uninstall alike.
!macro ForEachProgramFile Action
  !insertmacro ${Action} "ravlet.exe"
  !insertmacro ${Action} "ravlet-cli.exe"
  !insertmacro ${Action} "ravlet-readme.txt"
!macroend
!macro InstallFile Name
  File "${STAGE}/${Name}"
!macroend
!macro RemoveFile Name
  Delete "$INSTDIR\${Name}"
!macroend

; A folder without either file is most likely not the emulator's: asked, not refused,
; since the files may come later.
Function CheckEmulatorFolder
  IfFileExists "$INSTDIR\tarven.ini" found
  IfFileExists "$INSTDIR\rvbase.txt" found
  MessageBox MB_YESNO|MB_ICONQUESTION "В папке $INSTDIR нет ни tarven.ini, ни rvbase.txt. Ravlet работает с файлами своей папки. Всё равно установить сюда?" IDYES found
  Abort
found:
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  !insertmacro ForEachProgramFile InstallFile
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  ; The shortcut starts the window in the folder (the working folder is the output path).
  CreateShortcut "${SHORTCUT}" "$INSTDIR\ravlet.exe" "" "$INSTDIR\ravlet.exe" 0 SW_SHOWNORMAL "" "Настройщик Tarven Pimlow"

  SectionGetSize 0 $0
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Ravlet ${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "the Ravlet authors"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ravlet.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Exactly what the section above made, nothing else of the folder. The folder itself goes
; only when it is left empty (when the installation made it).
Section "Uninstall"
  !insertmacro ForEachProgramFile RemoveFile
  Delete "${SHORTCUT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
SectionEnd
