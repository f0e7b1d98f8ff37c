#!/usr/bin/env bash
# The Windows downloads that scripts/windows made, checked under Wine:
#   downloads_test.sh DIST_DIR VERSION
# the zip holds quizzlebox.exe, README.txt and LICENSE.txt and keeps within
# its size; the program needs only DLLs that come with Windows and carries
# its icon, manifest and version; the installer run silently installs the
# game for the user, with its Start-menu shortcut and its entry in "Apps &
# features", and the uninstaller run silently removes them again.
# WINEPREFIX names the Wine prefix to use.
set -uo pipefail
dist=$1 version=$2
: "${WINEPREFIX:?set WINEPREFIX}"
export WINEDEBUG=-all
zip=$dist/quizzlebox-$version-win64.zip setup=$dist/quizzlebox-$version-setup.exe
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0
check() {  # check WHAT COMMAND...
  local what=$1
  shift
  if "$@"; then echo "ok - $what"; else echo "not ok - $what"; failed=$((failed + 1)); fi
}
# A Windows path as Wine's Unix path.
unix_path() { winepath -u "$(wine cmd /c echo "$1" | tr -d '\r')" 2>/dev/null; }
# Waits up to 30 s for a condition (the uninstaller goes on in the background).
within_30s() {
  for _ in $(seq 150); do "$@" && return 0; sleep 0.2; done
  return 1
}
absent() { [ ! -e "$1" ]; }
key_absent() { ! wine reg query "$1" >/dev/null 2>&1; }

# ---- the zip ----
(cd "$tmp" && cmake -E tar xf "$zip")
check "the zip holds quizzlebox.exe, README.txt and LICENSE.txt" \
  test "$(cd "$tmp" && ls | tr '\n' ' ')" = "LICENSE.txt README.txt quizzlebox.exe "
exe=$tmp/quizzlebox.exe
check "the zip is at most 1.5 MB ($(stat -c %s "$zip") bytes)" test "$(stat -c %s "$zip")" -le 1572864
check "quizzlebox.exe is at most 3 MB ($(stat -c %s "$exe") bytes)" test "$(stat -c %s "$exe")" -le 3145728
check "README.txt tells the keys and the passwords, in CRLF lines" \
  grep -q $'^Passwords\r$' "$tmp/README.txt"

# ---- the program: Windows' own DLLs only, and its resources ----
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
check "quizzlebox.exe imports only DLLs of Windows itself ($dlls)" \
  test -z "$(tr ' ' '\n' <<<"$dlls" | grep -vxE 'kernel32\.dll|user32\.dll|gdi32\.dll|msvcrt\.dll|')"
x86_64-w64-mingw32-windres -i "$exe" -O rc -o "$tmp/resources.rc" 2>/dev/null
icons=$(grep -c "^[0-9]* 3 /\* RT_ICON \*/" "$tmp/resources.rc")
check "it carries the game's icon in seven sizes ($icons)" \
  test "$icons" = 7 -a "$(grep -c "^1 14 /\* RT_GROUP_ICON \*/" "$tmp/resources.rc")" = 1
check "its version information says $version" grep -q "FILEVERSION ${version//./, }, 0" "$tmp/resources.rc"
manifest=$(grep -ao '<dpiAwareness[^<]*</dpiAwareness>\|<activeCodePage[^<]*</activeCodePage>' "$exe" | tr -d '\n')
check "its manifest asks for per-monitor DPI awareness and UTF-8" \
  test "$manifest" = '<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2</dpiAwareness><activeCodePage xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">UTF-8</activeCodePage>'

# ---- the installer, silently, and the uninstaller ----
programs=$(unix_path '%LOCALAPPDATA%')/Programs/QUIZZLEBOX
shortcut="$(unix_path '%APPDATA%')/Microsoft/Windows/Start Menu/Programs/QUIZZLEBOX.lnk"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\QUIZZLEBOX'
wine "$setup" /S
check "the installer ends with status 0" test $? -eq 0
check "it installs the game under %LOCALAPPDATA%\\Programs\\QUIZZLEBOX" cmp -s "$exe" "$programs/quizzlebox.exe"
check "with README.txt and LICENSE.txt" test -f "$programs/README.txt" -a -f "$programs/LICENSE.txt"
check "and a Start-menu shortcut" test -f "$shortcut"
entry=$(wine reg query "$uninstall_key" 2>/dev/null | tr -d '\r')
check "Apps & features lists it by name and version" \
  grep -qE "DisplayName +REG_SZ +QUIZZLEBOX$" <<<"$entry"
check "with its version" grep -qE "DisplayVersion +REG_SZ +$version$" <<<"$entry"
check "and a silent uninstaller" grep -qE 'QuietUninstallString +REG_SZ +".*\\uninstall.exe" /S$' <<<"$entry"
check "the installed game runs" test "$(wine "$programs/quizzlebox.exe" --version | tr -d '\r')" = "quizzlebox $version"

wine "$programs/uninstall.exe" /S
check "the uninstaller removes the game's folder" within_30s absent "$programs"
check "and the shortcut" within_30s absent "$shortcut"
check "and its entry in Apps & features" within_30s key_absent "$uninstall_key"

echo "Windows downloads: $failed failed"
exit $((failed > 0))
