#!/usr/bin/env bash
# Builds the .deb, unpacks it into a scratch root and uses the installed
# report tool: it must find Kabel.txt and the help beside itself.
set -euo pipefail
build=$1
quelle=$(cd "$(dirname "$0")" && pwd)
arbeit=$(mktemp -d)
trap 'rm -rf "$arbeit"' EXIT

(cd "$build" && cpack -G DEB -B "$arbeit/paket" >/dev/null)
deb=$(ls "$arbeit"/paket/*.deb)
echo "Paket: $(basename "$deb")"

abh=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $abh"
grep -q 'libqt6widgets6' <<<"$abh" || { echo "FEHLER: Qt fehlt in Depends" >&2; exit 1; }

dpkg-deb -x "$deb" "$arbeit/wurzel"
w=$arbeit/wurzel/usr
for datei in lib/varolinaten/varolinaten lib/varolinaten/varolinaten-bericht \
             lib/varolinaten/Kabel.txt lib/varolinaten/Varolinaten.pdf \
             share/applications/de.varolinaten.Varolinaten.desktop \
             share/metainfo/de.varolinaten.Varolinaten.metainfo.xml \
             share/icons/hicolor/scalable/apps/varolinaten.svg \
             share/icons/hicolor/48x48/apps/varolinaten.png; do
  [ -e "$w/$datei" ] || { echo "FEHLER: $datei fehlt im Paket" >&2; exit 1; }
done
[ "$(readlink "$w/bin/varolinaten-bericht")" = ../lib/varolinaten/varolinaten-bericht ] \
  || { echo "FEHLER: Verweis in bin fehlt" >&2; exit 1; }

# A cable chosen by type name is only found in the Kabel.txt beside the program.
bericht=$("$w/bin/varolinaten-bericht" --modus eine --frequenz 7,1 --kabel RG-213 --laenge 30)
grep -q 'RG-213' <<<"$bericht" || { echo "FEHLER: Kabel.txt neben dem Programm nicht gefunden" >&2; exit 1; }

desktop-file-validate "$w/share/applications/de.varolinaten.Varolinaten.desktop"
appstreamcli validate --no-net --pedantic "$w/share/metainfo/de.varolinaten.Varolinaten.metainfo.xml" \
  || appstreamcli validate --no-net "$w/share/metainfo/de.varolinaten.Varolinaten.metainfo.xml"
echo "Paket in Ordnung"
