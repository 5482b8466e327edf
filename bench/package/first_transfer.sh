#!/usr/bin/env bash
# Figures of the Debian package, `first_transfer.sh PACKAGE.deb [RUNS]`: its
# size, what lintian says, whether apt can install it here, and the time from
# the package file to a first transfer.
#
# "Installing" unpacks the package into a fresh temporary root (dpkg-deb -x),
# which is what dpkg does with the files; the first transfer is a receive run
# of the unpacked vantor against the unpacked hht-sim on a pseudo-terminal.
# Nothing is installed on this machine.
#
# Usage: first_transfer.sh PATH/TO/kelvane_<version>_<arch>.deb [RUNS]
set -euo pipefail
deb=$(realpath "${1:?usage: first_transfer.sh PACKAGE.deb [RUNS]}")
runs=${2:-5}

echo "package: $(basename "$deb")"
echo "  size: $(stat -c %s "$deb") bytes ($(( $(stat -c %s "$deb") / 1024 )) KiB)"
echo "  installed size: $(dpkg-deb -f "$deb" Installed-Size) KiB"
echo "  depends: $(dpkg-deb -f "$deb" Depends)"

echo "lintian:"
if command -v lintian >/dev/null; then
  out=$(lintian --allow-root --tag-display-limit 0 "$deb" 2>&1 || true)
  echo "${out:-  (nothing)}" | sed 's/^/  /'
  echo "  errors: $(grep -c '^E: ' <<<"$out" || true), warnings: $(grep -c '^W: ' <<<"$out" || true)"
else
  echo "  lintian is not installed"
fi

echo "apt install ./$(basename "$deb") would install here (simulated):"
apt-get install --simulate --no-install-recommends "$deb" 2>/dev/null | grep -E '^(Inst|Conf) ' | sed 's/^/  /' ||
  echo "  nothing but the package itself"

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
times=()
for run in $(seq 1 "$runs"); do
  root=$(mktemp -d)
  t0=$(now_ms)
  dpkg-deb -x "$deb" "$root/pkg"
  t1=$(now_ms)
  mkdir -p "$root/run"/{send,recv,terminal}
  printf 'A1\r\nA2\r\n' > "$root/run/terminal/STOCK.TXT"
  "$root/pkg/usr/bin/hht-sim" --pty --link "$root/run/COM1" --quiet send "$root/run/terminal" \
    > "$root/run/sim.log" 2>&1 &
  sim=$!
  for _ in $(seq 1 200); do [ -L "$root/run/COM1" ] && break; sleep 0.01; done
  result=$(cd "$root/run" && "$root/pkg/usr/bin/vantor" --device "$root/run/COM1" --recv-dir recv --send-dir send \
             2>/dev/null | tail -n1)
  t2=$(now_ms)
  wait "$sim" 2>/dev/null || true
  [ "$result" = "1" ] || { echo "run $run: the transfer ended with $result"; rm -rf "$root"; exit 1; }
  echo "run $run: unpack $((t1 - t0)) ms, first transfer done $((t2 - t0)) ms after the start"
  times+=($((t2 - t0)))
  rm -rf "$root"
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
echo "package file to first transfer: median $(sed -n "$(( (runs + 1) / 2 ))p" <<<"$sorted") ms," \
     "min $(head -n1 <<<"$sorted") ms, max $(tail -n1 <<<"$sorted") ms over $runs runs"
