#!/usr/bin/env bash
# vantor_exe_texts.sh VANTOR_EXE: what vantor.exe tells a Windows operator,
# through a pipe (the bytes as a console's wide-character API would get them
# from the ANSI code page, 949 here):
# - --version in code page 949, as the version resource says it.
set -euo pipefail
program=$(realpath "$1")
. "$(dirname "$0")/run_common.sh" texts
fail() {
  echo "FAIL: $*"
  exit 1
}
run() { (cd "$work/cwd" && "$repo/scripts/wine-run" "$program" "$@") | tr -d '\r'; }

run --version >"$work/version.txt"
iconv -f CP949 -t UTF-8 "$work/version.txt" >"$work/version.utf8" || fail "--version is not code page 949"
grep -qx "  ProductName: Vantor3 동적 연결 라이브러리" "$work/version.utf8" || fail "--version: $(cat "$work/version.utf8")"
echo "ok: --version in code page 949"
