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
fail() {
  echo "FAIL: $*"
  echo "--- hht-sim"; cat "$work/hht.log" || true
  echo "--- program"; cat "$work/program.log" || true
  echo "--- comm.log"; tr -d '\r' <"$work/cwd/Log/comm.log" 2>/dev/null | tail -20 || true
  exit 1
}

# A link left by an earlier run must not be taken for this run's line.
rm -f "$VANTOR_WINE_COM1"
if [ "$direction" = receive ]; then
  records S 300 >"$work/hht/STOCK.TXT"
  records O 3 >"$work/hht/ORDER.DAT"
  "$hht" --pty --link "$VANTOR_WINE_COM1" --wait 60 send "$work/hht" --block-size 1000 >"$work/hht.log" 2>&1 &
  expected=1
else
  records M 500 >"$work/send/MASTER.TXT"
  records P 2 >"$work/send/PRICE.TXT"
  "$hht" --pty --link "$VANTOR_WINE_COM1" --wait 60 fetch --out "$work/out" MASTER.TXT PRICE.TXT \
    >"$work/hht.log" 2>&1 &
  expected=2
fi
hht_pid=$!
for _ in $(seq 1 100); do [ -L "$VANTOR_WINE_COM1" ] && break; sleep 0.05; done
[ -L "$VANTOR_WINE_COM1" ] || fail "hht-sim made no pseudo-terminal"

recv=$(winpath "$work/recv")
send=$(winpath "$work/send")
start=$(date +%s%N)
if [ -n "$dll" ]; then
  args=("$dll" "$recv" "$send" 1 19200 0 abc)
else
  args=(--recv-dir "$recv" --send-dir "$send" --port 1 --speed 19200 --user-data abc)
fi
set +e
(cd "$work/cwd" && "$repo/scripts/wine-run" "$program" "${args[@]}") >"$work/program.log" 2>&1
set -e
elapsed=$((($(date +%s%N) - start) / 1000000))
code=$(tr -d '\r' <"$work/program.log" | grep -E '^-?[0-9]+$' | tail -1 || true)
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
# The PC writes its end answer five times and closes the port at once: every
# copy must still reach the terminal.
answers=$(sed -n 's/.* end-answers=\([0-9]*\).*/\1/p' "$work/hht.log")
[ "$answers" = 5 ] || fail "the terminal got ${answers:-no} end answers of five"
echo "ok: $direction run through $(basename "$program") in $elapsed ms, result $code"
