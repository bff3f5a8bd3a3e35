#!/usr/bin/env bash
# The Windows downloads, made from the cross build in build-windows/ (built here if it is
# missing or out of date, as scripts/windows-test.sh --build-only does):
#   build-windows/package/ravlet-<version>-win64.zip  ravlet.exe, ravlet-cli.exe, ravlet-readme.txt
#       (this README with CR LF line ends), ravlet-copyright.txt and examples/, in one folder
#   build-windows/package/ravlet-<version>-setup.exe  the installer (NSIS, data/windows/installer.nsi)
# The programs are stripped copies of the build's. stdout gets only the two paths.
# scripts/windows-package-check.sh tries both under wine.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$PWD"
build="$root/build-windows/ravlet"
out="$root/build-windows/package"

bash scripts/install-deps.sh nsis zip >&2
bash scripts/windows-test.sh --build-only >&2

fail() { echo "windows-package.sh: $*" >&2; exit 1; }
window="$build/src/win32/ravlet.exe"
cli="$build/src/cli/ravlet-cli.exe"
for program in "$window" "$cli"; do
  [[ -f $program ]] || fail "${program#"$root/"} is missing: the cross build did not make it"
done

version=$(sed -n 's/^project(ravlet VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[[ -n $version ]] || fail "no version in the project() line of CMakeLists.txt"
name="ravlet-$version-win64"
stage="$out/$name"
rm -rf "$out"
mkdir -p "$stage/examples"

x86_64-w64-mingw32-strip -o "$stage/ravlet.exe" "$window"
x86_64-w64-mingw32-strip -o "$stage/ravlet-cli.exe" "$cli"
# Text for Notepad: CR LF, and a byte-order mark, without which older Notepads take UTF-8
# for the ANSI code page.
to_windows_text() { printf '\xEF\xBB\xBF'; sed 's/$/\r/' "$1"; }
to_windows_text README.md > "$stage/ravlet-readme.txt"
to_windows_text data/debian/copyright > "$stage/ravlet-copyright.txt"
# The examples as they are: Windows-1251 and CR LF already.
cp -r examples/. "$stage/examples/"

# The same sources give the same zip: fixed dates (the last commit's), a fixed order, no
# extra attributes.
epoch=$(git log -1 --format=%ct 2>/dev/null || date +%s)
find "$stage" -exec touch -d "@$epoch" {} +
(cd "$out" && find "$name" | LC_ALL=C sort | TZ=UTC zip -q -X -D "$name.zip" -@)

makensis -V2 -WX -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" -DICON="$root/data/icons/ravlet.ico" \
  -DOUTFILE="$out/ravlet-$version-setup.exe" data/windows/installer.nsi >&2

echo "$out/$name.zip"
echo "$out/ravlet-$version-setup.exe"
