#include "berichtwerkzeug.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // Fonts for PDF and images need a GUI application, never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QStringList argumente = QCoreApplication::arguments();
    argumente.removeFirst();

    QFile ausgabe;
    ausgabe.open(stdout, QIODevice::WriteOnly);
    QFile fehlerDatei;
    fehlerDatei.open(stderr, QIODevice::WriteOnly);
    QTextStream fehler(&fehlerDatei);
    fehler.setEncoding(QStringConverter::Utf8);

    const int status =
        varo::cli::ausfuehren(argumente, ausgabe, fehler, QCoreApplication::applicationDirPath());
    fehler.flush();
    ausgabe.flush();
    return status;
}
