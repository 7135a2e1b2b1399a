#include "hilfetext.h"

namespace varo::cli {

namespace {

// The calls and what the tool does.
QString aufrufHilfe()
{
    return QStringLiteral(
        "Aufruf: varolinaten-bericht --modus MODUS --frequenz TEXT --kabel TEXT --laenge TEXT "
        "[OPTION]...\n"
        "  oder: varolinaten-bericht --kurve --ausgabe DATEI [OPTION]...\n"
        "  oder: varolinaten-bericht --analyse --von TEXT --bis TEXT --kabel TEXT --laenge TEXT\n"
        "                            --lastr TEXT --lastx TEXT [OPTION]...\n"
        "  oder: varolinaten-bericht --analyse --messung DATEI --kabel TEXT --laenge TEXT\n"
        "                            [OPTION]...\n"
        "  oder: varolinaten-bericht --planer --baender TEXT --kabel TEXT --von-laenge TEXT\n"
        "                            --bis-laenge TEXT [OPTION]...\n"
        "  oder: varolinaten-bericht --vermessen --offen DATEI [--kurz DATEI]\n"
        "                            (--laenge TEXT | --vk TEXT) [OPTION]...\n"
        "  oder: varolinaten-bericht --oeffnen DATEI.rtf [--format FORMAT] [--ausgabe DATEI]\n"
        "Schreibt einen Varolinaten-Bericht ohne Fenster: dieselbe Rechnung und derselbe Text\n"
        "wie im Programm, wenn im Eingabedialog \"Rechnen\" gedrückt wird.\n"
        "\n"
        "Jeder TEXT ist das, was man in das Feld des Dialogs tippen würde; Komma und Punkt\n"
        "gelten beide als Dezimaltrennzeichen.\n"
        "\n");
}

// The reports of the input dialog.
QString berichteHilfe()
{
    return QStringLiteral(
        "Berichte:\n"
        "  --modus MODUS         eine, mehrere oder vorhanden (vorhandenes Kabel prüfen)\n"
        "  --frequenz TEXT       Frequenz in MHz; mehrere getrennt durch \"/\", z. B. 7,05/14,2\n"
        "  --kabel TEXT          Verkürzungsfaktor oder Eintrag der Kabeltabelle, z. B. 0,66\n"
        "                        oder ein Kabeltyp aus Kabel.txt wie RG-213\n"
        "  --laenge TEXT         voraussichtliche oder vorhandene Kabellänge in m\n"
        "  --toleranz TEXT       zugelassene Toleranz in % (Vorgabe: 35)\n"
        "  --seitenlaenge N      Zeilen je Seite (Vorgabe: 73; das Werkzeug fragt keinen\n"
        "                        Drucker, anders als das Programm mit Fenster)\n"
        "  --format FORMAT       text (Vorgabe), rtf oder pdf\n"
        "  --ausgabe DATEI       in DATEI schreiben statt auf die Standardausgabe\n"
        "  --kabeltabelle DATEI  nur diese Kabeltabelle; ersetzt Kabel.txt neben dem\n"
        "                        Programm und die eigene Tabelle\n"
        "                        ($XDG_DATA_HOME/varolinaten/Kabel.txt)\n"
        "\n");
}

// The curve of the impedance at the rig.
QString kurveHilfe()
{
    return QStringLiteral(
        "Kurve der Impedanz am Sender (wie die Grafikausgabe):\n"
        "  --kurve               die Kurve zeichnen; das Format folgt der Endung von\n"
        "                        --ausgabe: .png, .svg oder .pdf\n"
        "  --von TEXT            tiefste Frequenz in MHz (Vorgabe: 1,5)\n"
        "  --bis TEXT            höchste Frequenz in MHz (Vorgabe: 30,0)\n"
        "  --eingz TEXT          Eingangsimpedanz auf der Antennenseite in Ohm (Vorgabe: 72)\n"
        "  --kabelz TEXT         Impedanz des Kabels in Ohm (Vorgabe: 50)\n"
        "  --vk TEXT             Verkürzungsfaktor (Vorgabe: der von --kabel, sonst 0,66)\n"
        "  --laenge TEXT         Kabellänge in m (Vorgabe: 30)\n"
        "  --breite N, --hoehe N Bildgröße in Pixeln (Vorgabe: die Größe im Fenster)\n"
        "\n");
}

// The line analysis, with a typed load or a measured one.
QString analyseHilfe()
{
    return QStringLiteral(
        "Leitungsanalyse (Kabel mit Verlusten an einer Antenne R + jX):\n"
        "  --analyse             Tabelle (CSV) oder Diagramm (.png, .svg, .pdf nach der\n"
        "                        Endung von --ausgabe) über den Bereich --von bis --bis\n"
        "  --lastr TEXT          Wirkanteil der Antenne in Ohm\n"
        "  --lastx TEXT          Blindanteil der Antenne in Ohm (mit Vorzeichen)\n"
        "  --kabelz TEXT         Impedanz des Kabels (Vorgabe: die des Kabels, sonst 50)\n"
        "  --vk TEXT             Verkürzungsfaktor (Vorgabe: der des Kabels)\n"
        "  --schritte N          N + 1 Frequenzen von --von bis --bis (Vorgabe: 200)\n"
        "  --verlustlos          ohne Verluste rechnen\n"
        "\n"
        "Leitungsanalyse mit einer gemessenen Antenne (statt --lastr/--lastx, --schritte):\n"
        "  --messung DATEI       Touchstone-Datei (.s1p, Version 1.x oder 2.0) oder CSV eines\n"
        "                        Analysators; gerechnet wird bei jeder ihrer Frequenzen von\n"
        "                        --von bis --bis (Vorgabe: die ganze Datei)\n"
        "  --messort ORT         antenne: am Fußpunkt gemessen (Vorgabe), zum Sender rechnen;\n"
        "                        sender: am Sender durch dieses Kabel gemessen, zum Fußpunkt\n"
        "                        zurückrechnen\n"
        "  --anpassung           statt der Tabelle die L-Glieder, die das Senderende auf 50 Ohm\n"
        "                        anpassen (CSV)\n"
        "  --ausgabe DATEI       .csv, .s1p (das gerechnete Ende als Touchstone), .png, .svg\n"
        "                        oder .pdf\n"
        "  --smith               mit --ausgabe .png, .svg oder .pdf: das Smith-Diagramm statt\n"
        "                        des Diagramms, bezogen auf die Impedanz des Kabels, mit den\n"
        "                        Bandgrenzen aus Baender.txt; markiert ist die Frequenz, die\n"
        "                        der Mitte des Bereichs am nächsten liegt, mit ihrem SWR-Kreis\n"
        "\n");
}

// The length planner.
QString planerHilfe()
{
    return QStringLiteral(
        "Längenplaner über ganze Bänder:\n"
        "  --planer              Längen suchen, die auf allen Bändern Abstand zu den\n"
        "                        ungünstigen Längen halten\n"
        "  --baender TEXT        Bänder aus Baender.txt und/oder Bereiche von-bis in MHz,\n"
        "                        getrennt durch \"/\", z. B. 80m/40m/14-14,35\n"
        "  --von-laenge TEXT     kürzeste Länge in m\n"
        "  --bis-laenge TEXT     längste Länge in m\n"
        "  --schritt TEXT        Schrittweite in m (Vorgabe: 0,01)\n"
        "  --abstand GRAD        geforderter Abstand in elektrischen Grad (Vorgabe: 20)\n"
        "  --format FORMAT       text, rtf, pdf oder csv (je Länge: Länge;Abstand)\n"
        "\n");
}

// Saved reports, help, examples and the exit status.
QString schlussHilfe()
{
    return QStringLiteral(
        "Gespeicherte Berichte:\n"
        "  --oeffnen DATEI.rtf   einen gespeicherten Bericht lesen und im gewählten Format\n"
        "                        ausgeben\n"
        "  --teilweise           auch einen Bericht ausgeben, der nur teilweise gelesen\n"
        "                        werden konnte (abgeschnitten oder über einer Grenze)\n"
        "\n"
        "  --help                diese Hilfe anzeigen und beenden\n"
        "  --version             Versionsinformation anzeigen und beenden\n"
        "\n"
        "Beispiele:\n"
        "  varolinaten-bericht --modus eine --frequenz 7,1 --kabel RG-213 --laenge 30\n"
        "  varolinaten-bericht --modus mehrere --frequenz 3,6/7,05 --kabel 0,66 --laenge 35 \\\n"
        "                      --format pdf --ausgabe bericht.pdf\n"
        "  varolinaten-bericht --kurve --eingz 72 --kabelz 50 --laenge 28,286 --ausgabe kurve.png\n"
        "  varolinaten-bericht --analyse --messung dipol.s1p --kabel RG-213 --laenge 27,5\n"
        "\n"
        "Beendigungsstatus: 0 Bericht geschrieben, 2 Eingabe abgelehnt (Grund auf der\n"
        "Fehlerausgabe), 1 Aufruf- oder anderer Fehler.\n");
}

} // namespace

QString hilfetext()
{
    return aufrufHilfe() + berichteHilfe() + kurveHilfe() + analyseHilfe() + planerHilfe() +
           QStringLiteral("%1") + schlussHilfe();
}

} // namespace varo::cli
