#!/usr/bin/env bash
# kill_recover.sh VANTOR_EXE: the Windows vantor.exe, killed right after its
# first end answer (the moment the terminal may erase its data: the commit
# record is in place), loses nothing: the next run stores the data.
set -euo pipefail
program=$(realpath "$1")
. "$(dirname "$0")/run_common.sh" kill
mkdir -p "$work"/empty
records K 20000 >"$work/hht/STOCK.TXT"
echo "OLD0000001,ITEM0000,00000" >"$work/recv/STOCK.TXT"
record="$work/recv/VANTOR2-RECEIVE-COMMIT-RECORD.LST"
args=(--recv-dir "$(winpath "$work/recv")" --send-dir "$(winpath "$work/send")" --port 1 --speed 115200)

start_terminal hht.log --speed 115200 send "$work/hht"
run_program first.log "$program" "${args[@]}" &
# The commit record appears just before the first end answer: kill then.
for _ in $(seq 1 6000); do [ -e "$record" ] && break; sleep 0.005; done
[ -e "$record" ] || fail "no commit record within 30 s"
# The Windows process itself, not the wine or timeout process that started
# it: Wine names the process after the program (64-bit Wine also shows its
# Windows path as the command line, 32-bit Wine the path it was given).
victim=
for p in $(pgrep -x vantor.exe || true); do
  grep -q "$(basename "$work")" "/proc/$p/cmdline" 2>/dev/null && victim=$p
done
[ -n "$victim" ] || fail "vantor.exe not found"
kill -KILL "$victim"
wait "$hht_pid" || true
hht_pid=
wait || true
[ -e "$record" ] || fail "the commit record went with the kill (the run had stored already)"
cmp -s "$work/hht/STOCK.TXT" "$work/recv/STOCK.TXT" && echo "note: the data file was already stored at the kill"

# The next run completes the commit before it waits for the terminal.
start_terminal hht2.log --speed 115200 send "$work/empty"
run_program second.log "$program" "${args[@]}" || true
wait "$hht_pid" || true
hht_pid=
cmp -s "$work/hht/STOCK.TXT" "$work/recv/STOCK.TXT" || fail "STOCK.TXT was not recovered"
[ ! -e "$record" ] || fail "the commit record is still there"
[ -z "$(ls "$work/recv" | grep -i '\.tmp$' || true)" ] || fail "temporary files left"
grep -q "Recovery" "$work/cwd/Log/comm.log" || fail "no recovery line in the log"
echo "ok: killed after the first end answer, recovered by the next run"
