#!/usr/bin/env bash
# hht_run.sh receive|send[-korean] PROGRAM [DLL]: one whole run of a Windows
# program under Wine against hht-sim, which plays the terminal on the Linux
# side of the pseudo-terminal that Wine's COM1 stands for.
#   PROGRAM  dll_caller.exe (then DLL is the Vantor2.dll it loads) or vantor.exe
#   -korean  the receive and send folders and one of the files have Korean
#            names (the program gets them in code page 949, Wine's ANSI code
#            page here, and Wine stores them as UTF-8 in the ko_KR.UTF-8 locale)
# Checks the result code, the data on both sides, USERDEF.INI, the log, and
# that the terminal got all five copies of the end answer.
set -euo pipefail
direction=${1%-korean}
program=$(realpath "$2")
dll=${3:+$(realpath "$3")}
. "$(dirname "$0")/run_common.sh" run
mkdir -p "$work"/out
recv_dir=$work/recv
send_dir=$work/send
stock=STOCK.TXT
master=MASTER.TXT
if [ "$1" != "$direction" ]; then
  grep -qix 'ko_KR.utf8' <(locale -a) || fail "no glibc locale ko_KR.UTF-8 (scripts/install-windows-deps makes it)"
  recv_dir="$work/수신 자료"
  send_dir="$work/송신 자료"
  stock=재고.TXT
  master=단가표.TXT
  mkdir -p "$recv_dir" "$send_dir"
fi

if [ "$direction" = receive ]; then
  records S 300 >"$work/hht/$stock"
  records O 3 >"$work/hht/ORDER.DAT"
  start_terminal hht.log send "$work/hht" --block-size 1000
  expected=1
else
  records M 500 >"$send_dir/$master"
  records P 2 >"$send_dir/PRICE.TXT"
  start_terminal hht.log fetch --out "$work/out" "$master" PRICE.TXT
  expected=2
fi

recv=$(winpath "$recv_dir")
send=$(winpath "$send_dir")
start=$(date +%s%N)
if [ -n "$dll" ]; then
  args=("$dll" "$recv" "$send" 1 19200 0 abc)
else
  args=(--recv-dir "$recv" --send-dir "$send" --port 1 --speed 19200 --user-data abc)
fi
run_program program.log "$program" "${args[@]}" || true
elapsed=$((($(date +%s%N) - start) / 1000000))
code=$(result_code program.log)
hht_status=0
wait "$hht_pid" || hht_status=$?
hht_pid=

[ "$code" = "$expected" ] || fail "result code '$code', expected $expected"
[ "$hht_status" -eq 0 ] || fail "hht-sim ended with status $hht_status"
if [ "$direction" = receive ]; then
  cmp -s "$work/hht/$stock" "$recv_dir/$stock" || fail "$stock differs"
  cmp -s "$work/hht/ORDER.DAT" "$recv_dir/ORDER.DAT" || fail "ORDER.DAT differs"
  grep -q "Data Recv Success!" "$work/cwd/Log/comm.log" || fail "no success in the log"
else
  cmp -s "$send_dir/$master" "$work/out/$master" || fail "$master differs"
  cmp -s "$send_dir/PRICE.TXT" "$work/out/PRICE.TXT" || fail "PRICE.TXT differs"
  grep -q "Data Send Success!" "$work/cwd/Log/comm.log" || fail "no success in the log"
fi
# The log names the folders in code page 949.
iconv -f CP949 -t UTF-8 "$work/cwd/Log/comm.log" >"$work/comm.utf8" || fail "the log is not code page 949"
grep -qF "RecvDir = [$recv\\]" "$work/comm.utf8" || fail "the log's RecvDir"
[ "$(cat "$send_dir/USERDEF.INI")" = abc ] || fail "USERDEF.INI"
# The PC writes its end answer five times and closes the port at once: every
# copy must still reach the terminal.
answers=$(sed -n 's/.* end-answers=\([0-9]*\).*/\1/p' "$work/hht.log")
[ "$answers" = 5 ] || fail "the terminal got ${answers:-no} end answers of five"
echo "ok: $1 run through $(basename "$program") in $elapsed ms, result $code"
