#!/usr/bin/env bash
# check_exports.sh OBJDUMP DLL: the DLL exports RunVantor, VantorCancel and
# VantorVersion by their plain names, and no decorated stdcall name.
set -euo pipefail
table=$("$1" -p "$2" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p')
echo "$table"
for name in RunVantor VantorCancel VantorVersion; do
  grep -Eq "\] $name\$" <<<"$table" || { echo "missing export: $name"; exit 1; }
done
if grep -q '@' <<<"$table"; then echo "decorated export found"; exit 1; fi
echo "exports ok"
