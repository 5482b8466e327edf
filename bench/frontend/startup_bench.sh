#!/usr/bin/env bash
# Start-up time and idle memory of RTKelvane: `startup_bench.sh RTKELVANE [RUNS]`.
#
# Starts the program RUNS times (default 5) on an X display and measures the
# time from the start of the process until its main window (493 x 354,
# titled "Kelvane") is mapped and viewable: the moment the operator can use
# it. One second of that is the splash delay the program waits on purpose.
# After the last start it lets the program idle and reads its resident memory.
#
# Usage: startup_bench.sh PATH/TO/RTKelvane [RUNS]
# Uses $DISPLAY when set, else starts its own Xvfb. Needs xwininfo (x11-utils).
set -euo pipefail

program=${1:?usage: startup_bench.sh PATH/TO/RTKelvane [RUNS]}
runs=${2:-5}
idle_seconds=3
timeout_ms=15000

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

if [[ -z ${DISPLAY:-} ]]; then
  for n in $(seq 90 120); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    break
  done
  for _ in $(seq 100); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.05; done
fi

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# The id of the program's main window once it is viewable, else nothing.
main_window_viewable() {
  local id
  id=$(xwininfo -root -tree 2>/dev/null | awk '/"Kelvane": .* 493x354/ {print $1; exit}')
  [[ -n $id ]] && xwininfo -id "$id" 2>/dev/null | grep -q 'IsViewable'
}

start_once() {
  mkdir -p "$work/config" "$work/runtime"
  chmod 700 "$work/runtime"
  XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" "$program" >/dev/null 2>&1 &
  app_pid=$!
}

stop_app() {
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
}

times=()
for run in $(seq "$runs"); do
  t0=$(now_ms)
  start_once
  ready=""
  while (( $(now_ms) - t0 < timeout_ms )); do
    if main_window_viewable; then ready=$(( $(now_ms) - t0 )); break; fi
  done
  [[ -z $ready ]] && { echo "run $run: the main window did not appear within ${timeout_ms} ms" >&2; exit 1; }
  times+=("$ready")
  echo "run $run: main window ready after ${ready} ms"
  if (( run < runs )); then stop_app; fi
done

sleep "$idle_seconds"
rss_kb=$(awk '/^VmRSS:/ {print $2}' "/proc/$app_pid/status")
stop_app

sorted=($(printf '%s\n' "${times[@]}" | sort -n))
median=${sorted[$(( ${#sorted[@]} / 2 ))]}
max=${sorted[-1]}
echo "start-up to main window: median ${median} ms, worst ${max} ms over ${runs} runs (of which 1000 ms splash delay; limit 1500 ms)"
echo "idle resident memory after ${idle_seconds} s: $(( rss_kb / 1024 )) MB (${rss_kb} kB; limit 80 MB)"
