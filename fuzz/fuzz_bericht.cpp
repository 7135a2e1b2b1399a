// The report tool's request handling with random field texts in all three
// modes: it must end with a status of 0, 1 or 2 and never crash or hang.
// Input: mode byte, then the four field texts separated by NUL bytes.
#include "berichtwerkzeug.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdint>
#include <cstdlib>

namespace {
QGuiApplication &anwendung()
{
    static int argc = 3;
    static char name[] = "fuzz_bericht";
    static char platform[] = "-platform";
    static char offscreen[] = "offscreen";
    static char *argv[] = {name, platform, offscreen, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t groesse)
{
    anwendung();
    if (groesse < 1 || groesse > 512)
        return 0;
    static const char *const modi[] = {"eine", "mehrere", "vorhanden"};
    const QByteArray rest(reinterpret_cast<const char *>(daten) + 1, int(groesse) - 1);
    QList<QByteArray> felder = rest.split('\0');
    while (felder.size() < 4)
        felder << QByteArray();

    QStringList argumente{QStringLiteral("--modus"),        QLatin1String(modi[daten[0] % 3]),
                          QStringLiteral("--frequenz"),     QString::fromUtf8(felder.at(0)),
                          QStringLiteral("--kabel"),        QString::fromUtf8(felder.at(1)),
                          QStringLiteral("--laenge"),       QString::fromUtf8(felder.at(2)),
                          QStringLiteral("--toleranz"),     QString::fromUtf8(felder.at(3)),
                          QStringLiteral("--kabeltabelle"), QStringLiteral("/nicht/da/Kabel.txt")};
    QByteArray ausgabeDaten;
    QBuffer ausgabe(&ausgabeDaten);
    ausgabe.open(QIODevice::WriteOnly);
    QString fehlerText;
    QTextStream fehler(&fehlerText);
    const int status = varo::cli::ausfuehren(argumente, ausgabe, fehler, QString());
    if (status < 0 || status > 2)
        std::abort();
    if (status == 2 && !ausgabeDaten.isEmpty())
        std::abort(); // a refusal writes nothing to standard output
    return 0;
}
