#include "berichtwerkzeug.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

namespace {
// Qt's own notes (a missing XDG_RUNTIME_DIR, font substitutions) are no
// concern of someone scripting reports: standard error carries only the
// tool's reasons. Real failures still get through.
void nurFehlerMelden(QtMsgType typ, const QMessageLogContext &, const QString &text)
{
    if (typ == QtCriticalMsg || typ == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(text));
}
} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(nurFehlerMelden);
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
