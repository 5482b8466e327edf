#!/usr/bin/env bash
# rtk_run.sh receive|send RTKELVANE DRIVER DLL: a whole run through
# RTKelvane.exe under Wine, started from its window, against hht-sim on the
# Linux side of COM1's pseudo-terminal.
#   RTKELVANE  RTKelvane.exe; it is installed with DLL (its Vantor2.dll) in a
#              folder of their own, as the installer lays them out
#   DRIVER     rtk_driver.exe, which presses Enter on the transfer button and
#              answers the exit question
# First start on an empty registry: the defaults are stored (reg query) and
# a second instance ends at once. Then the run with the folders stored in the
# registry: result files exact, STOCK.TXT renamed, the log in the program's
# own folder, the notification's icon in the notification area after the run. Prints the start-to-ready time and the private memory.
set -euo pipefail
direction=$1
program=$(realpath "$2")
driver=$(realpath "$3")
dll=$(realpath "$4")
. "$(dirname "$0")/../../windows/run_common.sh" rtk
key='HKCU\Software\VB and VBA Program Settings\Kelvane'
reg_value() {  # reg_value NAME: the stored string, or nothing
  wine reg query "$key\\Handy Terminal" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n { $1 = ""; $2 = ""; sub(/^  /, ""); print }'
}
start_program() {
  (cd "$work/cwd" && "$repo/scripts/wine-run" "$app/RTKelvane.exe") >>"$work/program.log" 2>&1 &
  program_pid=$!
  ready_ms=$("$repo/scripts/wine-run" "$driver" ready 30000 | tr -d '\r') || fail "the main window did not show"
}
stop_program() {
  "$repo/scripts/wine-run" "$driver" exit >/dev/null || fail "the exit question did not end the program"
  wait "$program_pid" || fail "RTKelvane ended with status $?"
}

app="$work/app"
mkdir -p "$app"
# The driver takes only this program's window.
RTK_PROGRAM=$(winpath "$app/RTKelvane.exe")
export RTK_PROGRAM
cp "$program" "$app/RTKelvane.exe"
cp "$dll" "$app/Vantor2.dll"
wine reg delete "$key" /f >/dev/null 2>&1 || true

# First start on an empty registry.
start=$(date +%s%N)
start_program
first_ready=$((($(date +%s%N) - start) / 1000000))
[ "$(reg_value CommPortNo)" = 1 ] || fail "CommPortNo '$(reg_value CommPortNo)'"
[ "$(reg_value SendDir)" = 'C:\send' ] || fail "SendDir '$(reg_value SendDir)'"
[ "$(reg_value RecvDir)" = 'C:\recv' ] || fail "RecvDir '$(reg_value RecvDir)'"
[ -z "$(reg_value CommSpeed)" ] || fail "CommSpeed stored before the port dialog was confirmed"
[ -d "$WINEPREFIX/drive_c/send" ] && [ -d "$WINEPREFIX/drive_c/recv" ] || fail "default folders not created"
# A second instance ends at once, showing nothing.
set +e
"$repo/scripts/wine-run" "$app/RTKelvane.exe" >/dev/null 2>&1
second=$?
set -e
[ "$second" -eq 0 ] || fail "the second instance ended with $second"
kill -0 "$program_pid" 2>/dev/null || fail "the second instance ended the first"
stop_program

# The run, with the folders (and a speed code) stored as the dialogs store them.
recv=$(winpath "$work/recv")
send=$(winpath "$work/send")
wine reg add "$key\\Handy Terminal" /v RecvDir /t REG_SZ /d "$recv\\" /f >/dev/null
wine reg add "$key\\Handy Terminal" /v SendDir /t REG_SZ /d "$send\\" /f >/dev/null
wine reg add "$key\\Handy Terminal" /v CommSpeed /t REG_SZ /d 2 /f >/dev/null
rm -f "$VANTOR_WINE_COM1"
if [ "$direction" = receive ]; then
  records S 300 >"$work/hht/STOCK.TXT"
  records O 3 >"$work/hht/ORDER.DAT"
  "$hht" --pty --link "$VANTOR_WINE_COM1" --wait 60 send "$work/hht" --block-size 1000 >"$work/hht.log" 2>&1 &
else
  records M 500 >"$work/send/MASTER.TXT"
  records P 2 >"$work/send/PRICE.TXT"
  "$hht" --pty --link "$VANTOR_WINE_COM1" --wait 60 fetch --out "$work/out" MASTER.TXT PRICE.TXT \
    >"$work/hht.log" 2>&1 &
fi
hht_pid=$!
mkdir -p "$work/out"
for _ in $(seq 1 100); do [ -L "$VANTOR_WINE_COM1" ] && break; sleep 0.05; done
[ -L "$VANTOR_WINE_COM1" ] || fail "hht-sim made no pseudo-terminal"

start=$(date +%s%N)
start_program
ready=$((($(date +%s%N) - start) / 1000000))
driven=$("$repo/scripts/wine-run" "$driver" transfer | tr -d '\r') || fail "the transfer did not start or end through the window"
owner=$(sed -n 1p <<<"$driven")
[ "$owner" = "transfer window owned by the main window: yes" ] || fail "$owner"
notified=$(sed -n 2p <<<"$driven")
[ "$notified" = "notification icon: yes" ] || fail "no notification after the run: $notified"
memory=$("$repo/scripts/wine-run" "$driver" memory | tr -d '\r')
# Wine reports no private bytes of its own: the Linux process's private
# memory (smaps_rollup) is the figure.
wine_pid=$(ps -eo pid=,args= | exe="$(winpath "$app/RTKelvane.exe")" awk '$2 == ENVIRON["exe"] { print $1; exit }')
private_kb=$(awk '/^Private_(Clean|Dirty):/ { kb += $2 } END { print kb + 0 }' "/proc/$wine_pid/smaps_rollup" 2>/dev/null || echo 0)
hht_status=0
wait "$hht_pid" || hht_status=$?
hht_pid=
stop_program
[ "$hht_status" -eq 0 ] || fail "hht-sim ended with status $hht_status"

log=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Kelvane/Log/comm.log' | head -1)
[ -n "$log" ] || fail "no Log\\comm.log in the program's folder under LOCALAPPDATA"
[ ! -e "$work/cwd/Log" ] || fail "the log went to the folder the program was started from"
if [ "$direction" = receive ]; then
  stamped=$(cd "$work/recv" && ls STOCK_*.txt 2>/dev/null | head -1)
  [[ "$stamped" =~ ^STOCK_[0-9]{14}\.txt$ ]] || fail "STOCK.TXT was not given its time-stamped name: $(ls "$work/recv")"
  [ ! -e "$work/recv/STOCK.TXT" ] || fail "STOCK.TXT is still there"
  cmp -s "$work/hht/STOCK.TXT" "$work/recv/$stamped" || fail "$stamped differs from the terminal's STOCK.TXT"
  cmp -s "$work/hht/ORDER.DAT" "$work/recv/ORDER.DAT" || fail "ORDER.DAT differs"
  grep -q "Data Recv Success!" "$log" || fail "no success in the log"
else
  cmp -s "$work/send/MASTER.TXT" "$work/out/MASTER.TXT" || fail "MASTER.TXT differs"
  cmp -s "$work/send/PRICE.TXT" "$work/out/PRICE.TXT" || fail "PRICE.TXT differs"
  grep -q "Data Send Success!" "$log" || fail "no success in the log"
fi
[ "$(cat "$work/send/USERDEF.INI")" = abc ] || fail "USERDEF.INI"
echo "ok: $direction run through RTKelvane.exe"
echo "figure: start to ready ${ready} ms (first start ${first_ready} ms; the window appeared ${ready_ms} ms after the driver started)"
echo "figure: private memory after the run ${private_kb} kB (Linux process of RTKelvane.exe under Wine); Windows' counters (private bytes, working set): ${memory}"
