#!/usr/bin/env bash
# Builds every libFuzzer target (fuzz/fuzz_*.cpp) with clang and runs each one
# for N seconds (first argument, default 60) on its seed corpus
# fuzz/korpus/<name without "fuzz_">. New inputs go to a temporary folder, so
# the corpus in the repository stays as it is. Exits non-zero on a finding;
# the input that caused it is kept in <build>/funde/.
#
# The random seed is fixed (1), so that a run of the same commit repeats the
# same inputs and a finding can be reproduced; VAROLINATEN_FUZZ_SEED=0 lets
# libFuzzer pick a new seed each time, for exploring.
#
#   werkzeuge/fuzz.sh [sekunden]
#   VAROLINATEN_FUZZ_BUILD=/pfad werkzeuge/fuzz.sh 300
#   VAROLINATEN_FUZZ_SEED=0 werkzeuge/fuzz.sh 600
set -euo pipefail

sekunden="${1:-60}"
if ! [[ "$sekunden" =~ ^[0-9]+$ ]] || [ "$sekunden" -lt 1 ]; then
    echo "Aufruf: $0 [sekunden]" >&2
    exit 2
fi
wurzel="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VAROLINATEN_FUZZ_BUILD:-$wurzel/build-fuzz}"
seed="${VAROLINATEN_FUZZ_SEED:-1}"
if ! [[ "$seed" =~ ^[0-9]+$ ]]; then
    echo "VAROLINATEN_FUZZ_SEED muss eine Zahl sein" >&2
    exit 2
fi

if ! command -v clang++ >/dev/null 2>&1; then
    echo "clang++ fehlt (apt-get install clang libclang-rt-dev)" >&2
    exit 2
fi

CC=clang CXX=clang++ cmake -S "$wurzel" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVAROLINATEN_FUZZ=ON -DVAROLINATEN_TESTS=OFF -DVAROLINATEN_BENCH=OFF >/dev/null

ziele=()
for quelle in "$wurzel"/fuzz/fuzz_*.cpp; do
    ziele+=("$(basename "$quelle" .cpp)")
done
if [ "${#ziele[@]}" -eq 0 ]; then
    echo "Keine Fuzz-Ziele in $wurzel/fuzz" >&2
    exit 2
fi
cmake --build "$build" -j2 --target "${ziele[@]}"

funde="$build/funde"
mkdir -p "$funde"
arbeit="$(mktemp -d)"
trap 'rm -rf "$arbeit"' EXIT

fehlschlaege=0
for ziel in "${ziele[@]}"; do
    name="${ziel#fuzz_}"
    mkdir -p "$arbeit/$name"
    korpora=("$arbeit/$name")
    if [ -d "$wurzel/fuzz/korpus/$name" ]; then
        korpora+=("$wurzel/fuzz/korpus/$name")
    fi
    echo "== $ziel: $sekunden s, seed $seed"
    neu="$arbeit/$name-funde"
    mkdir -p "$neu"
    # Over a long run ASan's quarantine and allocator caches push the resident
    # size of the report target towards 2 GB, libFuzzer's default limit, while
    # the live heap stays flat. The limit for the whole process is therefore
    # raised; a single allocation over 2 GB is still a finding.
    if ! QT_QPA_PLATFORM=offscreen "$build/bin/$ziel" -max_total_time="$sekunden" -seed="$seed" -timeout=10 \
        -rss_limit_mb=4096 -malloc_limit_mb=2048 \
        -artifact_prefix="$neu/" -print_final_stats=1 "${korpora[@]}"; then
        echo "FUND in $ziel: siehe $funde" >&2
        # The build folder may be gone with the CI clone: print the input too.
        for fund in "$neu"/*; do
            [ -f "$fund" ] || continue
            cp "$fund" "$funde/$ziel-$(basename "$fund")"
            echo "$ziel-$(basename "$fund") (base64):" >&2
            base64 "$fund" | head -c 20000 >&2
        done
        fehlschlaege=$((fehlschlaege + 1))
    fi
done

if [ "$fehlschlaege" -ne 0 ]; then
    echo "$fehlschlaege Fuzz-Ziel(e) mit Fund" >&2
    exit 1
fi
echo "Alle ${#ziele[@]} Fuzz-Ziele ohne Fund"
