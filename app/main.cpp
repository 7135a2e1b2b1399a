// Main: take the system's default printer, set the shared values, compose
// the main window with the Qt and desktop adapters of its ports, show it and
// run the event loop until the main window is unloaded.

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

namespace {

// Without a display Qt would abort with a long English message; say in
// one line what is missing and how to run the program anyway. A platform
// named in QT_QPA_PLATFORM (a desktop setting exported into cron or ssh)
// needs its display just the same; offscreen and the like need none.
bool anzeigeVorhanden(int argc, char *argv[])
{
    const auto gesetzt = [](const char *name) {
        const char *wert = std::getenv(name);
        return wert && *wert;
    };
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true; // chosen on the command line: Qt's business
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

} // namespace

int main(int argc, char *argv[])
{
    if (!anzeigeVorhanden(argc, argv)) {
        std::fputs("Varolinaten: Keine grafische Anzeige vorhanden (weder DISPLAY noch "
                   "WAYLAND_DISPLAY gesetzt); ohne Bildschirm z. B. mit \"xvfb-run varolinaten\" "
                   "starten.\n",
                   stderr);
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(varo::version::anwendungstitel));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(varo::version::major)
                                            .arg(varo::version::minor)
                                            .arg(varo::version::revision));

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
    return app.exec();
}
