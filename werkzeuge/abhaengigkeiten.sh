#!/usr/bin/env bash
# Installs the Debian packages Varolinaten needs, if any are missing.
#   abhaengigkeiten.sh programm   – to build and run the program
#   abhaengigkeiten.sh tests      – additionally everything the test suite uses
set -euo pipefail

pakete=(build-essential cmake qt6-base-dev qt6-svg-dev libgl-dev libcups2-dev help2man
        qt6-qpa-plugins qt6-translations-l10n fonts-liberation fonts-dejavu-core)
if [ "${1:-programm}" = tests ]; then
  pakete+=(xvfb xauth poppler-utils unrtf libreoffice-writer-nogui
           clang libclang-rt-14-dev desktop-file-utils appstream
           clang-format dpkg-dev file lintian)
fi

fehlend=()
for p in "${pakete[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || fehlend+=("$p")
done
[ ${#fehlend[@]} -eq 0 ] && exit 0

als_root=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then
    als_root=(sudo)
  else
    echo "Es fehlen Pakete (${fehlend[*]}); bitte als root ausführen." >&2
    exit 1
  fi
fi
echo "Installiere: ${fehlend[*]}"
"${als_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${als_root[@]}" apt-get install -y -qq --no-install-recommends "${fehlend[@]}"
