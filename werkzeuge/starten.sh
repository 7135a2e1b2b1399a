#!/usr/bin/env bash
# Installs what is missing, builds Varolinaten and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

./werkzeuge/abhaengigkeiten.sh programm
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DVAROLINATEN_TESTS=OFF -DVAROLINATEN_BENCH=OFF >/dev/null
cmake --build build -j2

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Keine grafische Anzeige gefunden – ohne Bildschirm starten Sie Varolinaten mit: xvfb-run build/bin/varolinaten" >&2
  exit 1
fi
exec build/bin/varolinaten "$@"
