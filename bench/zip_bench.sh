#!/bin/bash
# The report archive's packing beside Info-ZIP's `zip -9` on the same files, in one run:
# zip_bench under Wine writes and packs them, `zip -9` packs them natively here (best of 3).
#   zip_bench.sh <build-dir>; needs the Wine environment of scripts/wine-env.
set -euo pipefail
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d /tmp/zip-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
"$root/scripts/wine-run" "$build/bench/zip_bench.exe" "Z:${work//\//\\}" | tr -d '\r' | tee "$work/ours"
ours=$(sed -n 's/.*: \([0-9]*\) ms (best of 3).*/\1/p' "$work/ours")
best=
for _ in 1 2 3; do
    rm -f "$work/info.zip"
    start=$(date +%s%N)
    (cd "$work" && zip -9 -q info.zip Profile.elf Profile.xml Screenshot.png)
    spent=$((($(date +%s%N) - start) / 1000000))
    [[ -z $best || $spent -lt $best ]] && best=$spent
done
echo "Info-ZIP zip -9 on the same files: $best ms (best of 3), archive $(stat -c %s "$work/info.zip") bytes"
awk -v a="$ours" -v b="$best" 'BEGIN { if (b > 0) printf "ratio: %.2f times zip -9 (native, not under the emulator)\n", a / b }'
