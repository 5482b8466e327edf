#!/usr/bin/env bash
# vantor_exe_texts.sh VANTOR_EXE: what vantor.exe tells a Windows operator,
# through a pipe (the bytes as a console's wide-character API would get them
# from the ANSI code page, 949 here):
# - --version in code page 949, as the version resource says it;
# - --help in Windows terms: \\.\COMn, Ctrl+C, Log\comm.log, no Linux device;
# - --list-ports marks COM1 missing while its device is not there (Wine lists
#   it all the same), and lists it once it is;
# - a port that cannot be opened: the log names the port and its device once.
set -euo pipefail
program=$(realpath "$1")
. "$(dirname "$0")/run_common.sh" texts
run() { (cd "$work/cwd" && "$repo/scripts/wine-run" "$program" "$@") | tr -d '\r'; }

run --version >"$work/version.txt"
iconv -f CP949 -t UTF-8 "$work/version.txt" >"$work/version.utf8" || fail "--version is not code page 949"
grep -qx "  ProductName: Vantor3 동적 연결 라이브러리" "$work/version.utf8" || fail "--version: $(cat "$work/version.utf8")"
echo "ok: --version in code page 949"

run --help >"$work/help.txt"
for text in '\\.\COMn' 'Ctrl+C' 'Log\comm.log' 'VANTOR_COMn'; do
  grep -qF "$text" "$work/help.txt" || fail "--help does not say $text"
done
for text in /dev/ SIGTERM Log/comm.log; do
  ! grep -qF "$text" "$work/help.txt" || fail "--help speaks of $text: $(grep -F "$text" "$work/help.txt")"
done
echo "ok: --help in Windows terms"

rm -f "$VANTOR_WINE_COM1"
run --list-ports >"$work/ports.txt"
grep -qxF 'COM1 -> \\.\COM1 (missing)' "$work/ports.txt" || fail "COM1 without a device: $(cat "$work/ports.txt")"
# A pseudo-terminal's master stands in for a device that is there.
ln -s /dev/ptmx "$VANTOR_WINE_COM1"
run --list-ports >"$work/ports.txt"
rm -f "$VANTOR_WINE_COM1"
grep -qxF '\\.\COM1  COM1' "$work/ports.txt" || fail "COM1 with a device: $(cat "$work/ports.txt")"
echo "ok: --list-ports marks a missing COM1"

# A port that cannot be opened: the log's reason names the port once and its
# device once.
rm -f "$VANTOR_WINE_COM1"
echo M >"$work/send/MASTER.TXT"
run --recv-dir "$(winpath "$work/recv")" --send-dir "$(winpath "$work/send")" --port 1 >"$work/open.txt" 2>&1 || true
[ "$(tail -1 "$work/open.txt")" = -4 ] || fail "a port without its device: $(cat "$work/open.txt")"
reason=$(tr -d '\r' <"$work/cwd/Log/comm.log" | sed -n '/^Port Open Error\.\.\.$/{n;p;}')
case "$reason" in
  'COM1: \\.\COM1: '?*) ;;
  *) fail "the log's reason after Port Open Error...: '$reason'" ;;
esac
[[ "$reason" != *"COM1: COM1"* ]] || fail "the log names the port twice: $reason"
echo "ok: the log names the port and its device once each"
