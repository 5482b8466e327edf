# The prologue of the Wine run tests (hht_run.sh, kill_recover.sh,
# hangup_run.sh), sourced after `set -euo pipefail` with the kind of run as
# $1: `. run_common.sh KIND`.
# Sets repo, hht (the Linux hht-sim) and work (a fresh folder with recv/,
# send/, hht/ and cwd/, removed on exit, when hht-sim, whose pid goes in
# hht_pid, is stopped too); defines fail, start_terminal, run_program,
# result_code, winpath and records.
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$repo/scripts/wine-env"
hht="${VANTOR_LINUX_TOOLS:?folder of hht-sim}/hht-sim"
work=$(mktemp -d "$VANTOR_WIN_BUILD/wine/$1.XXXXXX")
hht_pid=
cleanup() {
  [ -n "$hht_pid" ] && kill "$hht_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work"/recv "$work"/send "$work"/hht "$work"/cwd

# fail MESSAGE: says why, shows what the run left (the logs of the terminal
# and the program, the end of comm.log without its byte dumps) and ends.
fail() {
  echo "FAIL: $*"
  local f
  for f in "$work"/*.log; do
    [ -f "$f" ] && { echo "--- $(basename "$f")"; tail -40 "$f"; }
  done
  echo "--- comm.log"
  tr -d '\r' <"$work/cwd/Log/comm.log" 2>/dev/null | grep -av "^Recv Data\|^SendData\|^Len" | tail -20 || true
  exit 1
}

# start_terminal LOG ARGS...: hht-sim on a new pseudo-terminal that Wine's COM1
# stands for (the link of an earlier run removed first), its output in
# $work/LOG; its pid in hht_pid.
start_terminal() {
  local log=$1
  shift
  rm -f "$VANTOR_WINE_COM1"
  "$hht" --pty --link "$VANTOR_WINE_COM1" --wait 60 "$@" >"$work/$log" 2>&1 &
  hht_pid=$!
  "$repo/scripts/wait-for-link" "$VANTOR_WINE_COM1" || fail "hht-sim made no pseudo-terminal"
}

# run_program LOG PROGRAM ARGS...: the Windows program under Wine in
# $work/cwd (where its Log folder goes), its output in $work/LOG.
run_program() {
  local log=$1
  shift
  (cd "$work/cwd" && "$repo/scripts/wine-run" "$@") >"$work/$log" 2>&1
}

# result_code LOG: the result code, the last line of a number in $work/LOG.
result_code() { tr -d '\r' <"$work/$1" | grep -E '^-?[0-9]+$' | tail -1 || true; }

# The Windows name of a Linux path (Wine's drive Z: is /).
winpath() { local p="Z:$1"; echo "${p//\//\\}"; }
# records TAG COUNT: the terminal's stock records, CR LF ended.
records() {
  local i
  for ((i = 1; i <= $2; i++)); do printf '%s%06d,ITEM%04d,%05d\r\n' "$1" "$i" $((i % 1000)) $((i * 7 % 99999)); done
}
