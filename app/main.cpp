// Main: take the system's default printer, set the shared values, show the
// main window and run the event loop until the main window is unloaded.

#include "frmtext.h"
#include "qtdrucker.h"
#include "version.h"
#include "werte.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

namespace {

// Without a display Qt would abort with a long English message; say in
// one line what is missing and how to run the program anyway.
bool anzeigeVorhanden()
{
    const auto gesetzt = [](const char *name) {
        const char *wert = std::getenv(name);
        return wert && *wert;
    };
    return gesetzt("DISPLAY") || gesetzt("WAYLAND_DISPLAY") || gesetzt("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char *argv[])
{
    if (!anzeigeVorhanden()) {
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

    varo::FrmText frmText(werte, drucker);
    QObject::connect(&frmText, &varo::FrmText::entladen, &app, &QCoreApplication::quit);
    frmText.show();
    return app.exec();
}
