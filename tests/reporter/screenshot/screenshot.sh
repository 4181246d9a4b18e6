#!/bin/bash
# The report's picture of the screen, read back by a decoder of our own in Python (zlib and
# struct): structure and CRCs, sizes, colours kept or within the colour reduction's bound, the
# red frame round the focused control, the cursor, the IDAT chunks split at their limit, and no
# picture when none of the program's windows is shown. Each case saves its PNG under
# build/artifacts/screenshot/.
#   screenshot.sh <build-dir> [<case>]
# Needs the Wine environment of scripts/wine-env (an X display).
set -u
source "$(dirname "$0")/../../checks.sh" "$@"
PROBE=$BUILD/tests/reporter/screenshot/screenshot_probe.exe
SHOTS=$BUILD/artifacts/screenshot

# probe <case>: the picture in $SHOTS/<case>.png, the probe's lines in $SHOTS/<case>.txt.
probe() {
    mkdir -p "$SHOTS"
    rm -f "$SHOTS/$1.png"
    "$ROOT/scripts/wine-run" "$PROBE" "$1" "$(win "$SHOTS/$1.png")" 2>/dev/null </dev/null | tr -d '\r' >"$SHOTS/$1.txt"
}

# check <case> <python checks>: the checks see width, height, px (pixels[y][x]), facts, and
# window, focus, cursor from the probe's lines; they print what is wrong.
check() {
    local name=$1 checks=$2
    probe "$name"
    verdict "$name" "$(PYTHONPATH="$(dirname "$TEST_SCRIPT")" python3 - "$SHOTS/$name.png" "$SHOTS/$name.txt" "$checks" <<'PY'
import sys
from decode_png import decode
png, lines, checks = sys.argv[1:]
probe = {l.split()[0]: [int(v) for v in l.split()[1:]] for l in open(lines) if l.strip()}
if probe.get("taken") != [1]:
    print(f"no picture taken: {probe}"); sys.exit()
try:
    width, height, px, facts = decode(png)
except (OSError, ValueError) as e:
    print(f"PNG: {e}"); sys.exit()
window, focus, cursor = probe.get("window"), probe.get("focus"), probe.get("cursor")
def near(a, b, bound):
    return all(abs(x - y) <= bound for x, y in zip(a, b))
problems = []
def want(ok, text):
    if not ok: problems.append(text)
exec(checks)
print("; ".join(problems))
PY
)"
}

WINDOW_SIZE='want((width, height) == (window[2] - window[0], window[3] - window[1]), f"size {width} x {height}, window {window}")'

case_quadrants() {
    check quadrants "$WINDOW_SIZE"'
for (x, y, c) in [(150, 30, (0, 160, 0)), (50, 90, (0, 0, 255)), (150, 90, (255, 255, 0)), (10, 10, (200, 30, 30))]:
    want(px[y][x] == c, f"({x},{y}) is {px[y][x]}, painted {c}")
l, t, r, b = focus[0] - window[0], focus[1] - window[1], focus[2] - window[0], focus[3] - window[1]
for inset in (0, 1):
    edge = [(x, t + inset) for x in range(l + inset, r - inset)] + [(l + inset, y) for y in range(t + inset, b - inset)]
    want(all(px[y][x] == (255, 0, 0) for x, y in edge), f"frame {inset} round the focus not red")
want(px[t + 5][l + 5] != (255, 0, 0), "inside the frame is red")'
}

case_gradient() {
    check gradient "$WINDOW_SIZE"'
w, h = width, height
expected = lambda x, y: (x * 255 // (w - 1), y * 255 // (h - 1), (x + y) % 256)
worst = max(max(abs(a - b) for a, b in zip(px[y][x], expected(x, y))) for y in range(h) for x in range(w))
distinct = len({p for row in px for p in row})
want(distinct <= 256 and distinct > 64, f"{distinct} colours")
want(worst <= 32, f"a pixel {worst} away from its colour")'
}

case_tiny() {
    check tiny 'want((width, height) == (1, 1), f"{width} x {height}"); want(px[0][0] == (12, 200, 99), f"{px[0][0]}")'
}

case_odd_width() {
    check odd "$WINDOW_SIZE"'
want(all(p == (12, 200, 99) for row in px for p in row), "a pixel not the colour painted")'
}

case_large_splits_image_data() {
    check large "$WINDOW_SIZE"'
want(len(facts["idat"]) > 1 and all(n == 0x3FFFF for n in facts["idat"][:-1]), f"IDAT chunks {facts[\"idat\"]}")'
}

case_cursor() {
    check cursor "$WINDOW_SIZE"'
cx, cy = cursor[0] - window[0], cursor[1] - window[1]
around = [px[y][x] for y in range(cy, min(cy + 16, height)) for x in range(cx - 2, min(cx + 12, width))]
want(any(p in ((0, 0, 0), (255, 255, 255)) for p in around), "no cursor pixels at the cursor")'
}

case_active_window_only() {
    check active "$WINDOW_SIZE"'
want(px[10][10] == (200, 30, 30), f"{px[10][10]}")'
}

case_hidden_program_no_picture() {
    probe hidden
    verdict "no visible window: no picture" "$(grep -qx 'taken 0' "$SHOTS/hidden.txt" && [[ ! -e $SHOTS/hidden.png ]] || echo "probe: $(tr '\n' ' ' <"$SHOTS/hidden.txt")")"
}

run_cases
