#include "leitungsexport.h"

#include <QFileInfo>

#include <cmath>

namespace varo {

QByteArray leitungsCsv(const QList<Leitungswerte> &werte, const QLocale &locale)
{
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    const auto zahl = [&l](double wert) { return l.toString(wert, 'g', 10); };
    QString text = leitungsCsvKopf + QLatin1Char('\n');
    for (const Leitungswerte &w : werte) {
        const QStringList felder{
            zahl(w.fMHz),      zahl(w.Zin.real()), zahl(w.Zin.imag()),       zahl(std::abs(w.Zin)),
            zahl(w.swrSender), zahl(w.swrAntenne), zahl(w.verlustAngepasst), zahl(w.verlustGesamt)};
        text += felder.join(QLatin1Char(';')) + QLatin1Char('\n');
    }
    return text.toUtf8();
}

Bildvorlage leitungsBildvorlage(const Leitungsdiagramm &diagramm)
{
    Bildvorlage vorlage;
    vorlage.titel = QStringLiteral("Leitungsanalyse");
    vorlage.designGroesse = leitungsDesignGroesse();
    vorlage.auslegen = [&diagramm](QSize groesse, Exportergebnis &) -> Malpass {
        Leitungsbild bild = leitungsbildBerechnen(diagramm, QSizeF(groesse), QLocale());
        return [bild = std::move(bild)](QPainter &painter) { leitungsbildZeichnen(painter, bild); };
    };
    return vorlage;
}

Exportergebnis leitungExportieren(const Leitungsdiagramm &diagramm, const QString &datei,
                                  QSize pixel)
{
    const QString endung = QFileInfo(datei).suffix().toLower();
    if (endung == QLatin1String("csv"))
        return datenExportieren(leitungsCsv(diagramm.werte, QLocale()), datei);
    if (!bildEndungen().contains(endung))
        return Exportergebnis::fehler(
            endungUnbekannt(datei, QStringList{QStringLiteral("csv")} + bildEndungen()));
    return bildExportieren(leitungsBildvorlage(diagramm), datei, pixel);
}

} // namespace varo
