#!/usr/bin/env bash
# hht_run.sh receive|send PROGRAM [DLL]: one whole run of a Windows program
# under Wine against hht-sim, which plays the terminal on the Linux side of
# the pseudo-terminal that Wine's COM1 stands for.
#   PROGRAM  dll_caller.exe (then DLL is the Vantor2.dll it loads) or vantor.exe
# Checks the result code, the data on both sides, USERDEF.INI and the log.
set -euo pipefail
direction=$1
program=$(realpath "$2")
dll=${3:+$(realpath "$3")}
. "$(dirname "$0")/run_common.sh" run
mkdir -p "$work"/out

if [ "$direction" = receive ]; then
  records S 300 >"$work/hht/STOCK.TXT"
  records O 3 >"$work/hht/ORDER.DAT"
  start_terminal hht.log send "$work/hht" --block-size 1000
  expected=1
else
  records M 500 >"$work/send/MASTER.TXT"
  records P 2 >"$work/send/PRICE.TXT"
  start_terminal hht.log fetch --out "$work/out" MASTER.TXT PRICE.TXT
  expected=2
fi

recv=$(winpath "$work/recv")
send=$(winpath "$work/send")
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
  cmp -s "$work/hht/STOCK.TXT" "$work/recv/STOCK.TXT" || fail "STOCK.TXT differs"
  cmp -s "$work/hht/ORDER.DAT" "$work/recv/ORDER.DAT" || fail "ORDER.DAT differs"
  grep -q "Data Recv Success!" "$work/cwd/Log/comm.log" || fail "no success in the log"
else
  cmp -s "$work/send/MASTER.TXT" "$work/out/MASTER.TXT" || fail "MASTER.TXT differs"
  cmp -s "$work/send/PRICE.TXT" "$work/out/PRICE.TXT" || fail "PRICE.TXT differs"
  grep -q "Data Send Success!" "$work/cwd/Log/comm.log" || fail "no success in the log"
fi
[ "$(cat "$work/send/USERDEF.INI")" = abc ] || fail "USERDEF.INI"
echo "ok: $direction run through $(basename "$program") in $elapsed ms, result $code"
