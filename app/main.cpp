// Main: take the system's default printer, set the shared values, compose
// the main window with the Qt and desktop adapters of its ports, show it and
// run the event loop until the main window is unloaded. A report named on
// the command line (as the desktop's file manager passes it) is opened in
// the main window as "&Öffnen" would open it.

#include "dokumentbefehle.h"
#include "dokumentdialoge.h"
#include "frmtext.h"
#include "hilfe.h"
#include "qtdrucker.h"
#include "version.h"
#include "werte.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

bool gesetzt(const char *name)
{
    const char *wert = std::getenv(name);
    return wert && *wert;
}

bool istOption(const char *argument, const char *lang, const char *kurz)
{
    return std::strcmp(argument, lang) == 0 || std::strcmp(argument, kurz) == 0;
}

// The platform chosen on the command line or in QT_QPA_PLATFORM, else empty.
QByteArray gewaehltePlattform(int argc, char *argv[])
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return argv[i + 1];
    }
    return qgetenv("QT_QPA_PLATFORM");
}

// Without a display Qt would abort with a long English message; say in
// one line what is missing and how to run the program anyway. A platform
// named in QT_QPA_PLATFORM (a desktop setting exported into cron or ssh)
// needs its display just the same; offscreen and the like need none.
bool anzeigeVorhanden(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true; // chosen on the command line: Qt tries it
    }
    const char *plattform = std::getenv("QT_QPA_PLATFORM");
    if (!plattform || !*plattform)
        return gesetzt("DISPLAY") || gesetzt("WAYLAND_DISPLAY");
    // "wayland;xcb" tries one after the other.
    const QList<QByteArray> namen = QByteArray(plattform).split(';');
    for (const QByteArray &eintrag : namen) {
        const QByteArray name = eintrag.trimmed().split(':').value(0);
        if (name == "xcb") {
            if (gesetzt("DISPLAY"))
                return true;
        } else if (name.startsWith("wayland")) {
            if (gesetzt("WAYLAND_DISPLAY"))
                return true;
        } else if (!name.isEmpty()) {
            return true;
        }
    }
    return false;
}

const char *const kOhneAnzeige =
    "ohne Bildschirm z. B. mit „xvfb-run varolinaten“ starten, Berichte ohne Fenster schreibt "
    "„varolinaten-bericht“.";

// The one line for a display that Qt could not open: which platform and
// display were tried, and how to start the program instead.
QByteArray keineAnzeigeZeile(const QByteArray &plattform)
{
    QByteArray versucht;
    if (!plattform.isEmpty())
        versucht += "Plattform „" + plattform + "“";
    if (gesetzt("DISPLAY"))
        versucht +=
            QByteArray(versucht.isEmpty() ? "" : ", ") + "DISPLAY „" + qgetenv("DISPLAY") + "“";
    if (gesetzt("WAYLAND_DISPLAY"))
        versucht += QByteArray(versucht.isEmpty() ? "" : ", ") + "WAYLAND_DISPLAY „" +
                    qgetenv("WAYLAND_DISPLAY") + "“";
    return "Varolinaten: Keine grafische Anzeige gefunden" +
           (versucht.isEmpty() ? QByteArray() : " (" + versucht + ")") +
           "; in einer grafischen Sitzung oder " + kOhneAnzeige + "\n";
}

// While Qt opens the display its messages are held back: when the display
// cannot be opened, Qt's English warnings and its abort become the one
// German line and status 1; when it opens, the messages follow as usual.
struct Startmeldungen
{
    QByteArray plattform;
    QStringList gehalten;
    QtMessageHandler vorher = nullptr;
};
Startmeldungen startmeldungen;

void startmeldungHalten(QtMsgType typ, const QMessageLogContext &kontext, const QString &text)
{
    if (typ == QtFatalMsg) {
        std::fputs(keineAnzeigeZeile(startmeldungen.plattform).constData(), stderr);
        std::fflush(stderr);
        std::_Exit(1); // Qt is half set up: nothing of it may run down
    }
    if (qEnvironmentVariableIsSet("QT_FATAL_WARNINGS")) {
        // Asked to end at the first warning: it is told as it is.
        if (startmeldungen.vorher)
            startmeldungen.vorher(typ, kontext, text);
        else
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(typ, kontext, text)));
        return;
    }
    startmeldungen.gehalten << qFormatLogMessage(typ, kontext, text);
}

void startmeldungenFreigeben()
{
    qInstallMessageHandler(startmeldungen.vorher);
    for (const QString &meldung : std::as_const(startmeldungen.gehalten))
        std::fprintf(stderr, "%s\n", qPrintable(meldung));
}

const char *const kHilfe =
    "Aufruf: varolinaten [OPTION] [DATEI]\n"
    "Berechnet für Funkamateure günstige und ungünstige Längen des Koaxialkabels zur Antenne,\n"
    "mit Fenster; Berichte ohne Fenster schreibt varolinaten-bericht.\n"
    "\n"
    "  DATEI          einen gespeicherten Bericht (.rtf) im Hauptfenster öffnen\n"
    "  -h, --help     diese Hilfe anzeigen und beenden\n"
    "  -v, --version  die Programmversion anzeigen und beenden\n"
    "\n"
    "Dazu gelten die Optionen von Qt, etwa -platform NAME. Ohne grafische Anzeige z. B. mit\n"
    "„xvfb-run varolinaten“ starten. Die Hilfe im Programm (F1) ist Varolinaten.pdf neben\n"
    "dem Programm.\n";

// --help and --version answer without a display. Returns the exit status
// when one of them was asked for.
std::optional<int> ohneFensterBeantworten(int argc, char *argv[])
{
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (istOption(argv[i], "--help", "-h")) {
            std::fputs(kHilfe, stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (istOption(argv[i], "--version", "-v")) {
            std::printf("varolinaten %d.%d.%d\n%s\n", varo::version::major, varo::version::minor,
                        varo::version::revision, varo::version::rechtshinweis);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
    }
    return std::nullopt;
}

// The report named on the command line, once Qt has taken its own options
// away; an unknown option or more than one file is refused.
std::optional<QString> dateiAusAufruf(const QStringList &argumente, QString &fehler)
{
    QStringList dateien;
    bool nurDateien = false;
    for (const QString &a : argumente.mid(1)) {
        if (!nurDateien && a == QLatin1String("--")) {
            nurDateien = true;
        } else if (!nurDateien && a.size() > 1 && a.startsWith(QLatin1Char('-'))) {
            fehler = QStringLiteral("Unbekannte Option „%1“; „varolinaten --help“ nennt die "
                                    "Optionen.")
                         .arg(a.left(80));
            return std::nullopt;
        } else {
            dateien << a;
        }
    }
    if (dateien.size() > 1) {
        fehler =
            QStringLiteral("Bitte höchstens eine Datei angeben, nicht %1.").arg(dateien.size());
        return std::nullopt;
    }
    return dateien.value(0);
}

} // namespace

int main(int argc, char *argv[])
{
    if (const std::optional<int> status = ohneFensterBeantworten(argc, argv))
        return *status;
    if (!anzeigeVorhanden(argc, argv)) {
        std::fputs("Varolinaten: Keine grafische Anzeige vorhanden (weder DISPLAY noch "
                   "WAYLAND_DISPLAY gesetzt); ",
                   stderr);
        std::fputs(kOhneAnzeige, stderr);
        std::fputs("\n", stderr);
        return 1;
    }

    startmeldungen.plattform = gewaehltePlattform(argc, argv);
    startmeldungen.vorher = qInstallMessageHandler(startmeldungHalten);
    QApplication app(argc, argv);
    startmeldungenFreigeben();
    QApplication::setApplicationName(QString::fromUtf8(varo::version::anwendungstitel));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(varo::version::major)
                                            .arg(varo::version::minor)
                                            .arg(varo::version::revision));
    QString fehler;
    const std::optional<QString> datei = dateiAusAufruf(QCoreApplication::arguments(), fehler);
    if (!datei) {
        std::fprintf(stderr, "Varolinaten: %s\n", qPrintable(fehler));
        return 1;
    }

    // The program speaks German whatever the system language; Qt's own
    // dialogs (file, print, font, colour) should as well.
    QTranslator qtTexte;
    if (qtTexte.load(QStringLiteral("qtbase_de"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexte);

    varo::QtDrucker drucker;
    QCoreApplication::processEvents();
    varo::Programmwerte werte; // ZeilenEnde CR LF, KabelIndex 4, KabelLaenge 30

    varo::FrmText frmText(werte, {drucker, std::make_unique<varo::QtDokumentdialoge>(&drucker),
                                  std::make_unique<varo::DesktopPlattform>()});
    QObject::connect(&frmText, &varo::FrmText::entladen, &app, &QCoreApplication::quit);
    frmText.show();
    // Shown first, so that a message stands in front of the window.
    if (!datei->isEmpty())
        frmText.dokumentBefehle().dateiOeffnen(*datei);
    return app.exec();
}
