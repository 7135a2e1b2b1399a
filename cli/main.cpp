#include "berichtwerkzeug.h"
#include "werkzeugteile.h"

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
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

// A standard descriptor the caller closed (">&-") is held by /dev/null,
// opened for reading: no font or pipe Qt opens takes its number, and a
// write to it fails as it should.
void geschlosseneDeskriptorenBelegen()
{
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) >= 0)
            continue;
        const int neu = ::open("/dev/null", O_RDONLY);
        if (neu >= 0 && neu != fd) {
            ::dup2(neu, fd);
            ::close(neu);
        }
    }
}

// Without XDG_RUNTIME_DIR Qt warns while starting (and aborts under
// QT_FATAL_WARNINGS=1); the tool needs no runtime folder of the desktop,
// so it names a private one of its own, as Qt would create it.
void laufzeitordnerSetzen()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QByteArray ordner = QFile::encodeName(
        QStringLiteral("/tmp/varolinaten-laufzeit-%1").arg(static_cast<qulonglong>(::getuid())));
    ::mkdir(ordner.constData(), 0700);
    struct stat info = {};
    if (::lstat(ordner.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
        info.st_uid == ::getuid() && (info.st_mode & 0777) == 0700)
        qputenv("XDG_RUNTIME_DIR", ordner);
}

int werkzeugLaufen(int argc, char *argv[])
{
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
} // namespace

int main(int argc, char *argv[])
{
    geschlosseneDeskriptorenBelegen();
    // A file size limit (ulimit -f) makes the write fail with EFBIG, told
    // as every other write error, instead of killing the tool mid-write.
    std::signal(SIGXFSZ, SIG_IGN);
    qInstallMessageHandler(nurFehlerMelden);
    laufzeitordnerSetzen();
    // Fonts for PDF and images need a GUI application, never a screen: a
    // desktop setting such as QT_QPA_PLATFORM=xcb exported into cron or ssh
    // must not make the tool look for a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    try {
        return werkzeugLaufen(argc, argv);
    } catch (const std::bad_alloc &) {
        // A memory limit (ulimit -v) on a large table or report.
        static const char text[] = "varolinaten-bericht: Es ist nicht genug Speicher frei.\n";
        [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, text, sizeof text - 1);
        return varo::cli::fehlerStatus;
    }
}
