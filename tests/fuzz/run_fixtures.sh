#!/bin/bash
# Runs a fuzz target once over each input kept for it: every crash, hang or sanitizer finding
# ever mended stays mended.
#   run_fixtures.sh <fuzz target> <fixtures folder>
set -euo pipefail
target=$1 fixtures=$2
mapfile -t inputs < <(find "$fixtures" -type f ! -name '.*' | sort)
if [[ ${#inputs[@]} -eq 0 ]]; then
    echo "$fixtures: no inputs kept" >&2
    exit 1
fi
# A hang counts as a finding: each input gets 25 seconds.
exec "$target" -timeout=25 -rss_limit_mb=2048 "${inputs[@]}"
