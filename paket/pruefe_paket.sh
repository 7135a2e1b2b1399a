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

# What Debian asks of a package: copyright, changelog, manual pages, the
# help among the documentation and still found beside the program.
for datei in share/doc/varolinaten/copyright share/doc/varolinaten/changelog.gz \
             share/doc/varolinaten/Varolinaten.pdf \
             share/man/man1/varolinaten.1.gz share/man/man1/varolinaten-bericht.1.gz; do
  [ -s "$w/$datei" ] || { echo "FEHLER: $datei fehlt im Paket" >&2; exit 1; }
done
[ "$(readlink "$w/lib/varolinaten/Varolinaten.pdf")" = ../../share/doc/varolinaten/Varolinaten.pdf ] \
  || { echo "FEHLER: Verweis auf die Hilfe fehlt" >&2; exit 1; }
zcat "$w/share/man/man1/varolinaten.1.gz" | grep -q 'im Hauptfenster öffnen' \
  || { echo "FEHLER: Handbuchseite ohne die Optionen aus --help" >&2; exit 1; }

# Reports open from the file manager.
eintrag=$w/share/applications/de.varolinaten.Varolinaten.desktop
grep -qx 'Exec=varolinaten %f' "$eintrag" && grep -q '^MimeType=.*text/rtf;' "$eintrag" \
  || { echo "FEHLER: Der Desktop-Eintrag öffnet keine RTF-Dateien" >&2; exit 1; }

if command -v lintian >/dev/null; then
  lintian --pedantic --display-info --fail-on error,warning,info,pedantic "$deb" \
    || { echo "FEHLER: lintian beanstandet das Paket" >&2; exit 1; }
else
  echo "lintian fehlt: Prüfung nach Debian-Richtlinien übersprungen"
fi

desktop-file-validate "$w/share/applications/de.varolinaten.Varolinaten.desktop"
appstreamcli validate --no-net --pedantic "$w/share/metainfo/de.varolinaten.Varolinaten.metainfo.xml" \
  || appstreamcli validate --no-net "$w/share/metainfo/de.varolinaten.Varolinaten.metainfo.xml"
echo "Paket in Ordnung"
