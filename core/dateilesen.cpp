#include "dateilesen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <atomic>
#include <cerrno>

// The guards against pipes and devices need open() with O_NONBLOCK and
// fstat() on the opened file, which Qt does not offer: the files are read
// and written through POSIX, the one way on the systems the program is
// built for.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varo {

namespace {

constexpr qint64 stueck = qint64{64} * 1024;

std::atomic<qint64> schreibgrenze{-1};

QString zuGross(qint64 grenze)
{
    if (grenze >= 1024 * 1024)
        return QStringLiteral("Die Datei ist größer als %1 MiB.").arg(grenze / (1024 * 1024));
    return QStringLiteral("Die Datei ist größer als %1 Bytes.").arg(grenze);
}

QString keineDatei()
{
    return QStringLiteral("Das ist keine gewöhnliche Datei.");
}

// Qt's own error codes, for the rare failure that leaves no errno behind.
QString grundVon(QFileDevice::FileError fehler)
{
    switch (fehler) {
    case QFileDevice::ReadError:
        return QStringLiteral("Die Datei kann nicht gelesen werden.");
    case QFileDevice::WriteError:
        return QStringLiteral("Die Datei kann nicht geschrieben werden.");
    case QFileDevice::OpenError:
        return QStringLiteral("Die Datei lässt sich nicht öffnen oder anlegen.");
    case QFileDevice::PermissionsError:
        return QStringLiteral("Der Zugriff wurde verweigert.");
    case QFileDevice::ResourceError:
        return QStringLiteral("Es fehlt Speicher oder Speicherplatz.");
    case QFileDevice::AbortError:
        return QStringLiteral("Der Vorgang wurde abgebrochen.");
    default:
        return QStringLiteral("Die Datei kann nicht verarbeitet werden.");
    }
}

QString lesenPosix(const QString &pfad, qint64 grenze, Uebergroesse beiUebergroesse,
                   Dateiinhalt &inhalt)
{
    // Without O_NONBLOCK, opening a pipe waits for a writer that never comes.
    int fd = -1;
    do {
        fd = ::open(QFile::encodeName(pfad).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return systemfehlerText(errno);

    struct Schliessen
    {
        int fd;
        ~Schliessen() { ::close(fd); }
    } schliessen{fd};

    struct stat info = {};
    if (::fstat(fd, &info) != 0)
        return systemfehlerText(errno);
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("Das ist ein Ordner, keine Datei.");
    if (!S_ISREG(info.st_mode))
        return keineDatei();
    if (info.st_size > grenze && beiUebergroesse == Uebergroesse::Ablehnen)
        return zuGross(grenze);
    inhalt.geoeffnet = true;

    // A regular file never blocks; reading goes on in the normal mode.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    inhalt.daten.reserve(qsizetype(qMin<qint64>(qMax<qint64>(info.st_size, 0), grenze)));
    for (;;) {
        const qint64 rest = grenze + 1 - inhalt.daten.size();
        if (rest <= 0)
            break;
        const qsizetype alt = inhalt.daten.size();
        const qint64 menge = qMin(rest, stueck);
        inhalt.daten.resize(alt + qsizetype(menge));
        const ssize_t gelesen = ::read(fd, inhalt.daten.data() + alt, size_t(menge));
        if (gelesen < 0) {
            const int nummer = errno;
            inhalt.daten.resize(alt);
            if (nummer == EINTR)
                continue;
            return systemfehlerText(nummer);
        }
        inhalt.daten.resize(alt + qsizetype(gelesen));
        if (gelesen == 0)
            break;
    }
    if (inhalt.daten.size() > grenze) {
        // Grown while being read, or a file whose size the system does not know.
        if (beiUebergroesse == Uebergroesse::Ablehnen)
            inhalt.daten.clear();
        else
            inhalt.daten.truncate(qsizetype(grenze));
        return zuGross(grenze);
    }
    return {};
}

// Every byte to the descriptor, in pieces, or the error number of the
// failure.
int allesSchreiben(int fd, const QByteArray &daten)
{
    const qint64 grenze = schreibgrenze.load();
    qint64 geschrieben = 0;
    while (geschrieben < daten.size()) {
        qint64 menge = qMin<qint64>(daten.size() - geschrieben, stueck);
        if (grenze >= 0) {
            if (geschrieben >= grenze)
                return ENOSPC;
            menge = qMin(menge, grenze - geschrieben);
        }
        // Straight to the descriptor: Qt's buffer would hide the cause
        // until the commit, where only a generic code is left of it.
        const ssize_t n = ::write(fd, daten.constData() + geschrieben, size_t(menge));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        geschrieben += n;
    }
    return 0;
}

// /dev/stdout, /dev/stderr, /dev/fd/N and /proc/self/fd/N name a descriptor
// the program was started with; -1 for any other path.
int geerbterDeskriptor(const QString &pfad)
{
    if (pfad == QLatin1String("/dev/stdout"))
        return STDOUT_FILENO;
    if (pfad == QLatin1String("/dev/stderr"))
        return STDERR_FILENO;
    static const QRegularExpression nummer(QStringLiteral("^/(?:dev|proc/self)/fd/(\\d{1,6})$"));
    const QRegularExpressionMatch treffer = nummer.match(pfad);
    return treffer.hasMatch() ? treffer.captured(1).toInt() : -1;
}

// A pipe or a device stays what it is: written in place, without being
// truncated or replaced. A pipe nobody reads from is refused at once
// rather than waited for.
QString direktSchreiben(const QString &pfad, const QByteArray &daten, bool pipe)
{
    int fd = -1;
    do {
        fd = ::open(QFile::encodeName(pfad).constData(),
                    O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (pipe && errno == ENXIO)
            return QStringLiteral("Aus der benannten Pipe liest niemand.");
        return systemfehlerText(errno);
    }
    // Opened; from here a full pipe waits for its reader like any writer.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    const int nummer = allesSchreiben(fd, daten);
    const int geschlossen = ::close(fd) == 0 || errno == EINTR ? 0 : errno;
    if (nummer != 0 || geschlossen != 0)
        return systemfehlerText(nummer != 0 ? nummer : geschlossen);
    return {};
}

// Why a file cannot be created or replaced, when QSaveFile gives no errno.
QString oeffnenFehler(const QString &pfad, int nummer, QFileDevice::FileError fehler)
{
    const QFileInfo info(pfad);
    if (info.isDir())
        return systemfehlerText(EISDIR);
    if (!info.absoluteDir().exists())
        return QStringLiteral("Der Ordner ist nicht vorhanden.");
    // The file or its folder tells the real cause: read-only, no right.
    const QByteArray ziel =
        QFile::encodeName(info.exists() ? info.absoluteFilePath() : info.absolutePath());
    if (::access(ziel.constData(), info.exists() ? W_OK : W_OK | X_OK) != 0)
        return systemfehlerText(errno);
    return nummer != 0 ? systemfehlerText(nummer) : grundVon(fehler);
}

} // namespace

Dateiinhalt dateiLesen(const QString &pfad, qint64 grenze, Uebergroesse beiUebergroesse)
{
    Dateiinhalt inhalt;
    inhalt.fehler = lesenPosix(pfad, grenze, beiUebergroesse, inhalt);
    inhalt.vollstaendig = inhalt.fehler.isEmpty();
    return inhalt;
}

QString dateiSchreiben(const QString &pfad, const QByteArray &daten)
{
    if (const int fd = geerbterDeskriptor(pfad); fd >= 0) {
        // Where the shell left the descriptor: after what it wrote, or at
        // the end of a file opened for appending; never truncated.
        if (::fcntl(fd, F_GETFL) < 0)
            return systemfehlerText(errno);
        const int nummer = allesSchreiben(fd, daten);
        return nummer != 0 ? systemfehlerText(nummer) : QString();
    }
    struct stat info = {};
    if (::stat(QFile::encodeName(pfad).constData(), &info) == 0 && !S_ISREG(info.st_mode) &&
        !S_ISDIR(info.st_mode))
        return direktSchreiben(pfad, daten, S_ISFIFO(info.st_mode));

    QSaveFile datei(pfad);
    errno = 0;
    if (!datei.open(QIODevice::WriteOnly))
        return oeffnenFehler(pfad, errno, datei.error());
    int nummer = allesSchreiben(datei.handle(), daten);
    // Some file systems report a full disk only when the data are flushed.
    if (nummer == 0 && ::fsync(datei.handle()) != 0 && errno != EINVAL && errno != EROFS)
        nummer = errno;
    if (nummer != 0) {
        datei.cancelWriting();
        return systemfehlerText(nummer);
    }
    errno = 0;
    if (!datei.commit()) {
        const int nummer = errno;
        return nummer != 0 ? systemfehlerText(nummer) : grundVon(datei.error());
    }
    return {};
}

void schreibgrenzeSetzen(qint64 grenze)
{
    schreibgrenze.store(grenze);
}

} // namespace varo
