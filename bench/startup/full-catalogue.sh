#!/usr/bin/env bash
# Writes a data folder with a catalogue of the largest size the device takes (550 programs,
# 28000 steps, almost all of them distinct) for the start-up benchmark. The languages, texts,
# protocols and sessions are the sample data's; programs 101 to 550 reuse the sample names with
# a number after them.
#
#   full-catalogue.sh <trvgen> <output folder>
set -euo pipefail
trvgen=$1
out=$2
source_dir="$(cd "$(dirname "$0")/../../tools/sampledata" && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp -r "$source_dir"/. "$work"

# 550 programs: 500 of 51 steps and 50 of 50. Each takes fresh steps in a run and ends on the
# sample's WARM-1, so a few steps repeat and the merge has something to find.
awk -F';' -v OFS=';' '
    /^#/ || /^@/ { print; next }
    /^number;/ { print; next }
    NF >= 4 { names[++count] = $2 OFS $3 }
    END {
        next_step = 1
        for (p = 1; p <= 550; ++p) {
            n = p <= 500 ? 51 : 50
            base = names[(p - 1) % count + 1]
            if (p > count) {
                split(base, parts, OFS)
                suffix = " " int((p - 1) / count) + 1
                base = parts[1] suffix OFS parts[2] suffix
            }
            first = next_step
            next_step += n - 1
            printf "%d;%s;G%05d..G%05d WARM-1\n", p, base, first, next_step - 1
        }
        print next_step - 1 > "/dev/stderr"
    }' "$source_dir/programs.csv" > "$work/programs.csv" 2> "$work/step-count"

steps=$(cat "$work/step-count")
awk -v OFS=';' -v steps="$steps" '
    { print }
    END {
        for (i = 1; i <= steps; ++i) {
            frequency = 1 + (i * 7919) % 999000
            printf "G%05d;%d;29 %02X B4 70 00 00 28 F5 D8;00;%d;%d\n", i, 30 + (i % 8) * 15, 100 + i % 100,
                frequency, int(frequency / 100)
        }
    }' "$source_dir/steps.csv" > "$work/steps.csv"

"$trvgen" "$work" "$out"
