#!/usr/bin/env bash
# Installs the Windows installer given as the argument silently in a fresh Wine prefix, starts the
# installed program with --version, uninstalls it silently and checks that nothing of it is left:
# no file outside the user's temporary folder, no Start-menu entry, no registry key.
set -euo pipefail
installer=$(realpath "$1")
expected_version=$2  # what --version must print, e.g. "Nomvarix 1.00"
cd "$(dirname "$0")/../.."

work=$(mktemp -d)
export WINEPREFIX=$work/prefix
export NOMVARIX_WINEPREFIX=$WINEPREFIX
# No Start-menu entries of the host desktop for the installer's shortcuts.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
display_file=$work/display
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" </dev/null >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n 1 "$display_file")

wine=(scripts/windows/wine-run.sh)
fail() { echo "installer test: $*" >&2; exit 1; }

# Polls (at most about a minute) until the command succeeds.
wait_until() {
  for _ in $(seq 300); do "$@" && return 0; sleep 0.2; done
  return 1
}

# The files of the prefix outside the temporary folders, which Wine and the installers keep to
# themselves.
prefix_files() {
  (cd "$WINEPREFIX/drive_c" && find . -path './users/*/Temp' -prune -o -path './windows/temp' -prune -o -print |
    LC_ALL=C sort)
}

"${wine[@]}" cmd /c exit </dev/null >/dev/null 2>&1
wineserver -w
prefix_files >"$work/before"

"${wine[@]}" "$installer" /S </dev/null >/dev/null 2>&1 || fail "the installer failed"
wineserver -w
folder="$WINEPREFIX/drive_c/Program Files/Nomvarix"
[ -f "$folder/bin/nomvarix.exe" ] || fail "no $folder/bin/nomvarix.exe after installing"
[ -f "$folder/Uninstall.exe" ] || fail "no uninstaller in $folder"
[ -n "$(find "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu" -iname 'Nomvarix*.lnk')" ] ||
  fail "no Start-menu entry"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Nomvarix'
"${wine[@]}" reg query "$uninstall_key" </dev/null >/dev/null 2>&1 || fail "no $uninstall_key"

version=$("${wine[@]}" 'C:\Program Files\Nomvarix\bin\nomvarix.exe' --version </dev/null 2>/dev/null | tr -d '\r')
echo "installed program: $version"
[ "$version" = "$expected_version" ] || fail "--version printed '$version', not '$expected_version'"

# The uninstaller copies itself to the temporary folder and starts that copy, which removes the
# installation after the first one has ended: wait for the files to go.
"${wine[@]}" 'C:\Program Files\Nomvarix\Uninstall.exe' /S </dev/null >/dev/null 2>&1 || fail "the uninstaller failed"
wait_until test ! -e "$folder" || fail "$folder is still there after uninstalling"
wineserver -w
prefix_files >"$work/after"
diff -u "$work/before" "$work/after" || fail "files left after uninstalling (above)"
! "${wine[@]}" reg query "$uninstall_key" </dev/null >/dev/null 2>&1 || fail "$uninstall_key is left"
! "${wine[@]}" reg query 'HKLM\Software\Quorvantine\Nomvarix' </dev/null >/dev/null 2>&1 ||
  fail "the installer's own registry key is left"
echo "installed, started and uninstalled without leftovers"
