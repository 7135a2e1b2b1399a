#include "berichtwerkzeug.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

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
    // Fonts for PDF and images need a GUI application, never a screen: a
    // desktop setting such as QT_QPA_PLATFORM=xcb exported into cron or ssh
    // must not make the tool look for a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt sees only the program name: "-platform xcb" or "-display" among
    // the arguments are the tool's to refuse, not Qt's to act on.
    QStringList argumente;
    for (int i = 1; i < argc; ++i)
        argumente << QString::fromLocal8Bit(argv[i]);
    int nurProgramm = 1;
    QGuiApplication app(nurProgramm, argv);

    // Unbuffered on the descriptor itself: a failing write (a full disk,
    // /dev/full) shows at once, with its cause.
    QFile ausgabe;
    ausgabe.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    QFile fehlerDatei;
    fehlerDatei.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    QTextStream fehler(&fehlerDatei);
    fehler.setEncoding(QStringConverter::Utf8);

    const int status =
        varo::cli::ausfuehren(argumente, ausgabe, fehler, QCoreApplication::applicationDirPath());
    fehler.flush();
    return status;
}
