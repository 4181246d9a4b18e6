"""Writes "file-offset length" for instructions that objdump decodes in the .text section of a
PE image: a few of each leading byte pattern, so that rare encodings are not drowned by common
ones."""
import re
import subprocess
import sys
from collections import Counter

PER_PATTERN = 4
# objdump shows a redundant prefix on a line of its own, and folds fwait (9b) into the x87
# instruction after it; the processor reads both differently. "(bad)" marks what it cannot read,
# ".byte" what it did not try to (the end of a symbol).
PREFIX_ALONE = re.compile(
    r"^(cs|ds|es|ss|fs|gs|data16|addr16|lock|rep|repz|repnz|repe|repne|bnd|notrack)\s*$")
INSTRUCTION = re.compile(r"^\s*([0-9a-f]+):\t([0-9a-f ]+)\t(.*)$")


def text_section(objdump, image):
    headers = subprocess.run([objdump, "-h", image], capture_output=True, text=True, check=True)
    for line in headers.stdout.splitlines():
        fields = line.split()
        if len(fields) > 5 and fields[1] == ".text":
            return int(fields[3], 16), int(fields[5], 16)
    raise SystemExit(f"{image}: no .text section")


def listed_apart(raw, text):
    return "(bad)" in text or text.startswith(".byte") or PREFIX_ALONE.match(text) or (raw[0] == "9b" and len(raw) > 1)


def main(objdump, image, out):
    vma, file_offset = text_section(objdump, image)
    listing = subprocess.run([objdump, "-d", "-j", ".text", "--insn-width=16", image],
                             capture_output=True, text=True, check=True)
    seen = Counter()
    with open(out, "w") as lengths:
        for line in listing.stdout.splitlines():
            match = INSTRUCTION.match(line)
            if not match:
                continue
            raw = match.group(2).split()
            if listed_apart(raw, match.group(3)):
                continue
            pattern = (tuple(raw[:3]), len(raw))
            seen[pattern] += 1
            if seen[pattern] <= PER_PATTERN:
                lengths.write(f"{int(match.group(1), 16) - vma + file_offset} {len(raw)}\n")


if __name__ == "__main__":
    main(*sys.argv[1:])
