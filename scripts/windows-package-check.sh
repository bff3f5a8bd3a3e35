#!/usr/bin/env bash
# Tries the Windows downloads of scripts/windows-package.sh under wine, as a user would:
# - the zip holds exactly its files, the README in CR LF, and unzipped into a folder of
#   any name its ravlet-cli.exe runs on its examples;
# - the installer, run silently into an emulator's folder (a Cyrillic name) that already
#   holds a tarven.ini and an rvbase.txt, adds exactly its files there, the
#   Start-menu shortcut with that folder as its working folder and the uninstall entry;
#   the installed ravlet-cli.exe recognises the tarven.ini; the silent uninstall takes
#   away exactly what was added, and the user's two files stay byte for byte.
#   bash scripts/windows-package-check.sh ZIP SETUP
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$PWD"
if (($# != 2)); then
  echo "usage: bash scripts/windows-package-check.sh ZIP SETUP" >&2
  exit 2
fi
zip_file=$(realpath "$1")
setup=$(realpath "$2")

bash scripts/install-deps.sh unzip >&2
# Wine as scripts/windows-test.sh sets it up, without desktop integration: a shortcut
# would otherwise also become a menu entry of this machine's user.
export WINEPREFIX="$root/build-windows/wine" WINEDEBUG=-all WINEARCH=win64 LC_ALL=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi

scratch=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
fail() { echo "windows package check failed: $*" >&2; exit 1; }
expect() {  # expect WHAT EXPECTED GOT
  [[ $3 == "$2" ]] || fail "$1: expected [$2], got [$3]"
}

# --- The zip ---
name=$(basename "$zip_file" .zip)
expected=$( { printf '%s\n' ravlet.exe ravlet-cli.exe ravlet-readme.txt ravlet-copyright.txt
              (cd "$root" && find examples -type f); } | sed "s|^|$name/|" | LC_ALL=C sort)
expect "the zip's files" "$expected" "$(unzip -Z1 "$zip_file" | LC_ALL=C sort)"
unpacked="$scratch/распаковано где угодно"
mkdir -p "$unpacked"
unzip -q "$zip_file" -d "$unpacked"
unpacked="$unpacked/$name"
readme="$unpacked/ravlet-readme.txt"
grep -qv $'\r$' "$readme" && fail "ravlet-readme.txt has a line without CR LF"
cmp -s <(tail -c +4 "$readme" | tr -d '\r') "$root/README.md" || fail "ravlet-readme.txt is not README.md"
[[ $(file -b "$unpacked/ravlet.exe") == "PE32+ executable (GUI) x86-64"* ]] || fail "ravlet.exe is not a Windows window program"
[[ $(file -b "$unpacked/ravlet-cli.exe") == "PE32+ executable (console) x86-64"* ]] || fail "ravlet-cli.exe is not a Windows console program"
expect "the zip's ravlet-cli.exe detect" "2.0" "$(cd "$unpacked/examples" && wine ../ravlet-cli.exe detect tarven.ini)"
echo "zip $zip_file: files, README, programs checked" >&2

# --- The installer ---
# No space in it: wine quotes an argument with a space, and the installer takes /D= only
# unquoted (in a command prompt a path with spaces is typed as it is).
folder="$scratch/Эмулятор_Tarven"
mkdir -p "$folder"
cp "$root/examples/tarven.ini" "$root/examples/rvbase.txt" "$folder/"
windows_folder="Z:${folder//\//\\}"
# Every file and folder below the folder, with the contents of the files.
listing() { (cd "$folder" && find . -mindepth 1 | LC_ALL=C sort && find . -type f -exec sha256sum {} + | LC_ALL=C sort -k2); }
before=$(listing)
start_menu() { find "$WINEPREFIX/drive_c/users" -name Ravlet.lnk; }
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ravlet'
# What a failed earlier run may have left in the prefix would pass for this run's.
start_menu | while read -r left; do rm -f "$left"; done
wine reg delete "$uninstall_key" /f >/dev/null 2>&1 || true

wine "$setup" /S "/D=$windows_folder"
expect "the folder after the installation" \
  "$(printf '%s\n' ./ravlet-cli.exe ./ravlet-readme.txt ./ravlet-uninstall.exe ./ravlet.exe ./rvbase.txt ./tarven.ini)" \
  "$(cd "$folder" && find . -mindepth 1 | LC_ALL=C sort)"
(cd "$folder" && sha256sum --quiet -c <(sed -n '/^[0-9a-f]\{64\} /p' <<< "$before")) || fail "the installation changed the user's files"
for file in ravlet.exe ravlet-cli.exe ravlet-readme.txt; do
  cmp -s "$folder/$file" "$unpacked/$file" || fail "the installed $file is not the zip's"
done
expect "the installed ravlet-cli.exe detect" "2.0" "$(cd "$folder" && wine ravlet-cli.exe detect tarven.ini)"

shortcut=$(start_menu)
[[ -n $shortcut ]] || fail "no Start-menu shortcut Ravlet.lnk"
# The working folder is a UTF-16 string of the link that ends with the folder's name; the
# target is the same folder followed by \ravlet.exe, which must not be what matches.
utf16_hex() { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1 | tr -d ' \n' | sed 's/../\\x&/g'; }
working_dir="$(utf16_hex "$windows_folder")(?!\\x5c\\x00)"
LC_ALL=C grep -qaP "$working_dir" "$shortcut" || fail "the shortcut's working folder is not $windows_folder"
wine reg query "$uninstall_key" /v UninstallString >/dev/null || fail "no uninstall entry $uninstall_key"

wine "$folder/ravlet-uninstall.exe" /S
wineserver -w  # the uninstaller runs from a copy of itself and returns at once
expect "the folder after the uninstallation" "$before" "$(listing)"
[[ -z $(start_menu) ]] || fail "the uninstallation left the shortcut $(start_menu)"
if wine reg query "$uninstall_key" >/dev/null 2>&1; then fail "the uninstallation left $uninstall_key"; fi
echo "installer $setup: silent install into a folder with tarven.ini and rvbase.txt, shortcut, uninstall entry, silent uninstall checked" >&2
