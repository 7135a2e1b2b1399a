#include "dateilesen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// One write of a file: every byte, or the error number of the failure.
int allesSchreiben(QSaveFile &datei, const QByteArray &daten)
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
        const ssize_t n = ::write(datei.handle(), daten.constData() + geschrieben, size_t(menge));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        geschrieben += n;
    }
    // Some file systems report a full disk only when the data are flushed.
    if (::fsync(datei.handle()) != 0 && errno != EINVAL && errno != EROFS)
        return errno;
    return 0;
}

} // namespace

Dateiinhalt dateiLesen(const QString &pfad, qint64 grenze, Uebergroesse beiUebergroesse)
{
    Dateiinhalt inhalt;
    inhalt.fehler = lesenPosix(pfad, grenze, beiUebergroesse, inhalt);
    inhalt.vollstaendig = inhalt.fehler.isEmpty();
    return inhalt;
}

QString systemfehlerText(int fehlernummer)
{
    switch (fehlernummer) {
    case ENOENT:
        return QStringLiteral("Die Datei oder ihr Ordner ist nicht vorhanden.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Der Zugriff wurde verweigert.");
    case ELOOP:
        return QStringLiteral(
            "Die symbolischen Verknüpfungen des Pfades führen im Kreis (oder sind zu viele).");
    case ENAMETOOLONG:
        return QStringLiteral("Der Name ist zu lang.");
    case ENOTDIR:
        return QStringLiteral("Ein Teil des Pfades ist kein Ordner.");
    case EISDIR:
        return QStringLiteral("Das ist ein Ordner, keine Datei.");
    case ENOSPC:
        return QStringLiteral("Kein Speicherplatz mehr auf dem Datenträger.");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("Das Speicherkontingent auf dem Datenträger ist erschöpft.");
#endif
    case EFBIG:
        return QStringLiteral("Die Datei wird zu groß für den Datenträger.");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt.");
    case EIO:
        return QStringLiteral("Der Datenträger meldet einen Ein-/Ausgabefehler.");
    case ENOMEM:
        return QStringLiteral("Der Arbeitsspeicher reicht nicht aus.");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Es sind zu viele Dateien geöffnet.");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("Die Datei ist in Gebrauch.");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("Das Gerät ist nicht verfügbar.");
    case EPIPE:
        return QStringLiteral("Der Empfänger der Ausgabe ist nicht mehr da.");
    case EAGAIN:
        return QStringLiteral("Die Datei ist gerade nicht bereit.");
    default:
        return QStringLiteral("Systemfehler Nummer %1.").arg(fehlernummer);
    }
}

QString dateiSchreiben(const QString &pfad, const QByteArray &daten)
{
    QSaveFile datei(pfad);
    errno = 0;
    if (!datei.open(QIODevice::WriteOnly)) {
        const int nummer = errno;
        if (QFileInfo(pfad).isDir())
            return systemfehlerText(EISDIR);
        if (!QFileInfo(pfad).absoluteDir().exists())
            return QStringLiteral("Der Ordner ist nicht vorhanden.");
        return nummer != 0 ? systemfehlerText(nummer) : grundVon(datei.error());
    }
    if (const int nummer = allesSchreiben(datei, daten); nummer != 0) {
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
