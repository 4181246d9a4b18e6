#!/bin/bash
# Seeds of the fuzz targets made at fuzz time, one folder per target:
#   make_seeds.sh <main build folder> <seeds folder>
# The main build's own outputs (KFDATA containers, link maps: when it has been built), the
# repository's options files, the host fuzz build's seed maker (JDBG and TD32 data), small
# images compiled here with their DWARF data, and the sample tables of PARADOX_SAMPLES. What is
# missing is named on one line and left out.
set -euo pipefail
build=$1 seeds=$2
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
maker=$(dirname "$seeds")/seed_maker
families=$(dirname "$seeds")/family_seeds
samples=${PARADOX_SAMPLES:-$root/../shared/paradox-samples}
rm -rf "$seeds"
mkdir -p "$seeds"

# The containers and the link maps of the build's smaller programs: larger inputs only slow
# every execution down.
containers=$(find "$build" -name kfdata.bin -size -64k 2>/dev/null | sort)
if [[ -z $containers ]]; then
    echo "make_seeds: no KFDATA containers in $build (not built): container seeds left out"
fi
for container in $containers; do
    "$maker" container "$container" "$seeds"
done
mkdir -p "$seeds/map_file"
for map in $(find "$build" -name '*.map' -size -200k 2>/dev/null | sort | head -n 4); do
    head -c 32768 "$map" >"$seeds/map_file/$(echo "${map#"$build"/}" | tr / _)"
done

"$maker" debug-data "$seeds"

mkdir -p "$seeds/options_text"
find "$root" -name '*.options' -not -path "$root/build/*" -not -path "$root/.deps/*" |
    while read -r options; do cp "$options" "$seeds/options_text/"; done

mkdir -p "$seeds/dwarf"
for version in 4 5; do
    i686-w64-mingw32-g++-posix -g -gdwarf-$version -O1 -nostdlib -e _start \
        -o "$seeds/dwarf/sample_dwarf$version.exe" "$here/dwarf_sample.cpp"
done

"$families" own "$seeds"
if [[ -d $samples ]]; then
    "$families" samples "$samples" "$seeds"
else
    echo "make_seeds: no sample tables at $samples (PARADOX_SAMPLES): their families left out"
fi
