#!/usr/bin/env bash
# installer_test.sh RTK_DRIVER: the Windows installer (make windows-installer)
# in a fresh copy of the test prefix: a silent install puts every staged file,
# the Start-menu shortcut and the entry in the list of programs in place; the
# installed RTKelvane.exe (driven through its window by RTK_DRIVER) and
# vantor.exe each run a whole receive run; a silent uninstall removes all it
# installed and leaves the user's settings and data folders.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
driver=$(realpath "$1")
. "$here/run_common.sh" installer
setup=$(ls "$VANTOR_WIN_BUILD"/artifacts/kelvane-setup-*.exe 2>/dev/null | head -1 || true)
[ -n "$setup" ] || fail "no installer in $VANTOR_WIN_BUILD/artifacts (make windows-installer)"
stage="$VANTOR_WIN_BUILD/installer/root"

# A prefix that has never seen the product, with its own server.
cp -a "$WINEPREFIX" "$work/prefix"
export VANTOR_WINE_PREFIX="$work/prefix"
. "$repo/scripts/wine-env"
trap 'wineserver -k >/dev/null 2>&1 || true; cleanup' EXIT
drive="$work/prefix/drive_c"
dir="$drive/Program Files (x86)/Kelvane"
key='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Kelvane'
settings='HKCU\Software\VB and VBA Program Settings\Kelvane\Handy Terminal'

run_program install.log "$setup" /S || fail "the silent install failed"
[ -d "$dir" ] || fail "nothing installed in $dir"
diff <(cd "$stage" && find . -type f | sort) <(cd "$dir" && find . -type f ! -name uninstall.exe | sort) \
  >"$work/files.log" || fail "the installed files differ from the staged ones"
[ -f "$dir/uninstall.exe" ] || fail "no uninstaller"
[ -f "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Kelvane/RTKelvane.lnk" ] || fail "no Start-menu shortcut"
wine reg query "$key" >"$work/uninstall-key.log" 2>&1 || fail "no entry in the list of programs"
for value in DisplayName DisplayVersion Publisher UninstallString QuietUninstallString EstimatedSize; do
  grep -q "$value" "$work/uninstall-key.log" || fail "the entry has no $value"
done
grep -q "DisplayVersion.*$(basename "$setup" .exe | sed 's/kelvane-setup-//')" "$work/uninstall-key.log" ||
  fail "the entry's version is not the installer's"

# The installed program and command line each run a whole receive run.
"$repo/tests/frontend/win32/rtk_run.sh" receive "$dir/RTKelvane.exe" "$driver" "$dir/Vantor2.dll" >"$work/rtk.log" 2>&1 ||
  fail "the installed RTKelvane.exe failed its run"
"$here/hht_run.sh" receive "$dir/vantor.exe" >"$work/run.log" 2>&1 || fail "the installed vantor.exe failed its run"

# The user's own: settings and a data folder, which the uninstaller keeps.
wine reg add "$settings" /v RecvDir /t REG_SZ /d 'C:\recv' /f >/dev/null 2>&1
mkdir -p "$drive/recv" && echo kept >"$drive/recv/STOCK.TXT"
run_program uninstall.log "$dir/uninstall.exe" /S || fail "the silent uninstall failed"
# The uninstaller runs on from a copy of itself in the temporary folder.
for _ in $(seq 1 300); do [ -e "$dir" ] || break; sleep 0.1; done
[ ! -e "$dir" ] || fail "left after the uninstall: $(cd "$dir" && find . | tr '\n' ' ')"
[ ! -e "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Kelvane" ] || fail "the shortcut stayed"
! wine reg query "$key" >/dev/null 2>&1 || fail "the entry in the list of programs stayed"
wine reg query "$settings" /v RecvDir >/dev/null 2>&1 || fail "the uninstall removed the user's settings"
[ "$(cat "$drive/recv/STOCK.TXT")" = kept ] || fail "the uninstall touched the data folder"
echo "ok: installed, ran and uninstalled $(basename "$setup") ($(stat -c %s "$setup") bytes)"
