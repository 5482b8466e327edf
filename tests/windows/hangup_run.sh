#!/usr/bin/env bash
# hangup_run.sh VANTOR_EXE: the terminal's side of the line vanishes in the
# middle of a run (hht-sim killed, its pseudo-terminal gone): vantor.exe ends
# with -1 within seconds and makes no data file of the run. (That the line
# reports a hang-up as a failure at once, again and again, instead of waking
# the watch thread forever, is line_win32_hangup.)
#
# hangup_run.sh VANTOR_EXE failing-wait: no terminal speaks, and the port's
# event wait fails at once, again and again (Wine without the pseudo-terminal
# shim; some USB serial drivers alike): vantor.exe gives up after a while
# with -1 and logs why, instead of spinning on the wait.
set -euo pipefail
program=$(realpath "$1")
mode=${2:-hangup}
[ "$mode" = failing-wait ] && export VANTOR_PTY_SHIM=0
. "$(dirname "$0")/run_common.sh" hangup
if [ "$mode" = failing-wait ]; then
  start=$(date +%s%N)
  (cd "$work/cwd" && "$repo/scripts/wine-with-peer" "$program" --recv-dir "$(winpath "$work/recv")" \
    --send-dir "$(winpath "$work/send")" --port 1) >"$work/program.log" 2>&1 || true
  elapsed=$((($(date +%s%N) - start) / 1000000))
  code=$(result_code program.log)
  [ "$code" = "-1" ] || fail "result '$code', expected -1"
  [ "$elapsed" -lt 30000 ] || fail "the run took $elapsed ms to give up"
  grep -q "^Port Error: WaitCommEvent keeps failing" <(tr -d '\r' <"$work/cwd/Log/comm.log") ||
    fail "the log does not say why the run ended"
  echo "ok: a wait that keeps failing ended the run with -1 after $elapsed ms"
  exit 0
fi
records H 40000 >"$work/hht/STOCK.TXT"
# 9600 bit/s on the simulator's side paces its frames, so the run is still
# going when it is killed.
start_terminal hht.log --speed 9600 send "$work/hht" --block-size 100
run_program program.log "$program" --recv-dir "$(winpath "$work/recv")" --send-dir "$(winpath "$work/send")" \
  --port 1 &
program_pid=$!
# Once data is flowing, the terminal goes away.
for _ in $(seq 1 400); do [ -s "$work/recv/STOCK.TXT.Tmp" ] && break; sleep 0.025; done
[ -s "$work/recv/STOCK.TXT.Tmp" ] || fail "no data arrived"
kill -KILL "$hht_pid"
wait "$hht_pid" 2>/dev/null || true
hht_pid=
start=$(date +%s%N)
wait "$program_pid" || true
elapsed=$((($(date +%s%N) - start) / 1000000))
code=$(result_code program.log)
[ "$code" = "-1" ] || fail "result '$code', expected -1"
[ "$elapsed" -lt 5000 ] || fail "the run took $elapsed ms to end after the hang-up"
[ ! -e "$work/recv/STOCK.TXT" ] || fail "a data file was made from an interrupted run"
echo "ok: hang-up ended the run with -1 after $elapsed ms"
