#include "baender.h"

#include "dateilesen.h"
#include "kabeltabelle.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace varo {

namespace {

void grundSetzen(QString *grund, const QString &text)
{
    // Only the first problem is told; later ones are usually its echo.
    if (grund && grund->isEmpty())
        *grund = text;
}

} // namespace

double baenderZahl(const QString &text, bool *ok)
{
    QString zahl = text.trimmed();
    zahl.replace(QLatin1Char(','), QLatin1Char('.'));
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool gelesen = false;
    const double wert = zahl.isEmpty() ? 0.0 : c.toDouble(zahl, &gelesen);
    const bool gut = gelesen && std::isfinite(wert);
    if (ok)
        *ok = gut;
    return gut ? wert : 0.0;
}

QString baenderZahlText(double wert, const QLocale &locale)
{
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l.toString(wert, 'g', 7);
}

std::optional<double> feldZahl(const QString &text, const QString &name, QString &meldung)
{
    bool ok = false;
    const double wert = baenderZahl(text, &ok);
    if (!ok || text.trimmed().isEmpty()) {
        meldung = QStringLiteral("Im Feld „%1“ steht keine Zahl.").arg(name);
        return std::nullopt;
    }
    return wert;
}

QList<Band> baenderLesen(const QStringList &zeilen, QString *grund)
{
    static const QRegularExpression trenner(QStringLiteral("[ \\t]+"));
    QList<Band> baender;
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        const QString zeile = zeilen.at(i).trimmed();
        if (zeile.isEmpty() || zeile.startsWith(QLatin1Char(';')))
            continue;
        const QString nummer = QString::number(i + 1);
        const QStringList felder = zeile.split(trenner, Qt::SkipEmptyParts);
        if (felder.size() != 3) {
            grundSetzen(grund, QStringLiteral("Zeile %1 der Bandliste hat nicht die Form "
                                              "„Name untere-Grenze obere-Grenze“.")
                                   .arg(nummer));
            continue;
        }
        bool okVon = false;
        bool okBis = false;
        Band band;
        band.name = felder.at(0);
        band.vonMHz = baenderZahl(felder.at(1), &okVon);
        band.bisMHz = baenderZahl(felder.at(2), &okBis);
        if (!okVon || !okBis) {
            grundSetzen(grund,
                        QStringLiteral("Zeile %1 der Bandliste enthält keine gültige Frequenz.")
                            .arg(nummer));
            continue;
        }
        if (!(band.vonMHz > 0.0 && band.vonMHz < band.bisMHz)) {
            grundSetzen(grund, QStringLiteral("In Zeile %1 der Bandliste liegt die untere "
                                              "Grenze nicht über 0 und unter der oberen.")
                                   .arg(nummer));
            continue;
        }
        baender.append(band);
    }
    return baender;
}

QList<Band> baenderLaden(const QString &pfad, QString *grund)
{
    if (grund)
        grund->clear();
    // A band list is a few hundred bytes; anything beyond a megabyte is no band list.
    constexpr qint64 grenze = qint64{1} << 20;
    const Dateiinhalt inhalt = dateiLesen(pfad, grenze);
    if (!inhalt.vollstaendig) {
        grundSetzen(grund, QStringLiteral("Die Bandliste %1 kann nicht gelesen werden: %2")
                               .arg(QDir::toNativeSeparators(pfad), inhalt.fehler));
        return {};
    }
    return baenderLesen(kabelDateiZeilen(inhalt.daten), grund);
}

QString baenderPfad()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Baender.txt");
}

} // namespace varo
