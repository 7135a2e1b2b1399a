#!/usr/bin/env bash
# Takes the README's screenshots under Xvfb: main window with a report,
# input dialog, curve window, line analysis (also with a measured file, as
# chart and Smith chart), length planner, cable measurement (F9, with the
# measured pair under tests/daten). Writes doku/bilder/*.png.
# VAROLINATEN_BUILD names another build folder (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
./werkzeuge/abhaengigkeiten.sh tests
build="${VAROLINATEN_BUILD:-build}"
cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j2 --target varolinaten_bildschirmfotos varolinaten_daten
ziel="$(pwd)/doku/bilder"
messung="$(pwd)/tests/daten/messung/dipol_40m.s1p"
cd "$build/bin"
LANG=de_DE.UTF-8 xvfb-run -a -s "-screen 0 1280x1024x24" \
  env QT_QPA_PLATFORM=xcb ./varolinaten_bildschirmfotos "$ziel" "$messung"
echo "Bildschirmfotos in doku/bilder/"
