# Sourced by the Wine run tests (hht_run.sh, kill_recover.sh, hangup_run.sh)
# after `set -euo pipefail`, with the kind of run as $1:
#   . run_common.sh KIND
# Sets repo, hht (the Linux hht-sim) and work (a fresh folder with recv/,
# send/, hht/ and cwd/, removed on exit, when hht-sim, whose pid goes in
# hht_pid, is stopped too) and defines winpath and records.
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
# The Windows name of a Linux path (Wine's drive Z: is /).
winpath() { local p="Z:$1"; echo "${p//\//\\}"; }
# records TAG COUNT: the terminal's stock records, CR LF ended.
records() {
  local i
  for ((i = 1; i <= $2; i++)); do printf '%s%06d,ITEM%04d,%05d\r\n' "$1" "$i" $((i % 1000)) $((i * 7 % 99999)); done
}
