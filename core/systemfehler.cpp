#include "systemfehler.h"

#include <cerrno>

namespace varo {

namespace {

// The causes of opening and naming a file.
QString pfadfehler(int nummer)
{
    switch (nummer) {
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
    case EEXIST:
        return QStringLiteral("Die Datei ist schon vorhanden.");
    case EXDEV:
        return QStringLiteral("Die Datei kann nicht über Datenträger hinweg ersetzt werden.");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt.");
    case ETXTBSY:
    case EBUSY:
        return QStringLiteral("Die Datei ist in Gebrauch.");
    default:
        return {};
    }
}

// The causes of reading and writing.
QString ablauffehler(int nummer)
{
    switch (nummer) {
    case ENOSPC:
        return QStringLiteral("Kein Speicherplatz mehr auf dem Datenträger.");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("Das Speicherkontingent auf dem Datenträger ist erschöpft.");
#endif
    case EFBIG:
        return QStringLiteral("Die Datei überschreitet die erlaubte Dateigröße.");
    case EIO:
        return QStringLiteral("Der Datenträger meldet einen Ein-/Ausgabefehler.");
    case ENOMEM:
        return QStringLiteral("Der Arbeitsspeicher reicht nicht aus.");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Es sind zu viele Dateien geöffnet.");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("Das Gerät ist nicht verfügbar.");
    case EPIPE:
        return QStringLiteral("Der Empfänger der Ausgabe ist nicht mehr da.");
    case EAGAIN:
        return QStringLiteral("Die Datei ist gerade nicht bereit.");
    case EBADF:
        return QStringLiteral("Die Datei ist geschlossen oder nicht zum Schreiben geöffnet.");
    case EINVAL:
        return QStringLiteral("Die Datei nimmt diese Art des Zugriffs nicht an.");
    case ESPIPE:
        return QStringLiteral("In der Datei kann nicht positioniert werden.");
    case EINTR:
        return QStringLiteral("Der Vorgang wurde unterbrochen.");
    case ECONNRESET:
        return QStringLiteral("Die Verbindung wurde getrennt.");
    case ETIMEDOUT:
        return QStringLiteral("Die Zeit für den Zugriff ist abgelaufen.");
    case EOVERFLOW:
        return QStringLiteral("Die Datei ist zu groß für diesen Zugriff.");
    case EOPNOTSUPP:
        return QStringLiteral("Der Datenträger kann das nicht.");
    default:
        return {};
    }
}

} // namespace

QString systemfehlerText(int fehlernummer)
{
    if (QString text = pfadfehler(fehlernummer); !text.isEmpty())
        return text;
    if (QString text = ablauffehler(fehlernummer); !text.isEmpty())
        return text;
    return QStringLiteral("Das Betriebssystem meldet einen Fehler (Nummer %1).").arg(fehlernummer);
}

} // namespace varo
