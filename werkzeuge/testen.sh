#!/usr/bin/env bash
# Installs what is missing, builds Varolinaten with its tests and runs them
# headless. Exits non-zero on any failure.
#   testen.sh               – the normal build (folder build/)
#   testen.sh --sanitizer   – with AddressSanitizer and UBSan (folder build-asan/)
set -euo pipefail
cd "$(dirname "$0")/.."

./werkzeuge/abhaengigkeiten.sh tests

ordner=build
optionen=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = --sanitizer ]; then
  ordner=build-asan
  optionen=(-DCMAKE_BUILD_TYPE=Debug -DVAROLINATEN_SANITIZER=ON -DVAROLINATEN_BENCH=OFF)
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi

cmake -S . -B "$ordner" "${optionen[@]}" >/dev/null
cmake --build "$ordner" -j2
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$ordner" -j2 --output-on-failure --timeout 300
