#include "frequenzdiagramm.h"

#include "diagrammschrift.h"

#include <QPainter>

#include <algorithm>

namespace varo {

QColor gitterfarbe()
{
    return QColor(215, 215, 215);
}

QLocale achsenLocale(const QLocale &locale)
{
    QLocale ohneGruppen = locale;
    ohneGruppen.setNumberOptions(QLocale::OmitGroupSeparator);
    return ohneGruppen;
}

Diagrammtext ueberschriftAuslegen(const QString &text, const QFontMetricsF &mass)
{
    return {QPointF(kDiagrammLinks, mass.ascent() + 4.0), text};
}

Diagrammtext frequenzeinheitAuslegen(const Frequenzauslegung &a, double unterkante)
{
    const QString mhz = QStringLiteral("f/MHz");
    return {QPointF(a.bereich.right() - a.mass.horizontalAdvance(mhz),
                    unterkante + 2.0 * a.mass.height()),
            mhz};
}

Frequenzachse frequenzachseAuslegen(const Frequenzauslegung &a, const QList<QRectF> &felder,
                                    QList<QLineF> &gitter, QList<Diagrammtext> &achsentexte)
{
    Frequenzachse f;
    f.achse = achseUeber(a.fVon, a.fBis, int(std::max(2.0, a.bereich.width() / 90.0)));
    f.marken = achsenMarken(a.fVon, a.fBis, f.achse.schritt);
    const double unterkante = felder.isEmpty() ? a.bereich.bottom() : felder.last().bottom();
    for (const double frequenz : std::as_const(f.marken)) {
        const double x = a.xBei(frequenz);
        for (const QRectF &feld : felder)
            gitter.append(QLineF(x, feld.top(), x, feld.bottom()));
        const QString text = achsenText(frequenz, f.achse.schritt, a.locale);
        achsentexte.append(
            {QPointF(x - a.mass.horizontalAdvance(text) / 2.0, unterkante + a.mass.height()),
             text});
    }
    return f;
}

void legendeAuslegen(const Legendenteile &legende, const QRectF &feld,
                     const QList<std::pair<QString, QColor>> &eintraege, const QFontMetricsF &mass)
{
    double x = feld.left();
    const double y = feld.top() - 6.0;
    for (const auto &[text, farbe] : eintraege) {
        legende.striche.append(
            QLineF(x, y - mass.ascent() / 3.0, x + 16.0, y - mass.ascent() / 3.0));
        legende.farben.append(farbe);
        legende.texte.append({QPointF(x + 20.0, y), text});
        x += 32.0 + mass.horizontalAdvance(text);
    }
}

void diagrammgrundZeichnen(QPainter &painter, QSizeF flaeche, const Diagrammtext &ueberschrift)
{
    painter.fillRect(QRectF(QPointF(0, 0), flaeche), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setFont(diagrammSchriftFuer(painter.device()));
    texteZeichnen(painter, QList<Diagrammtext>{ueberschrift});
}

void gitterZeichnen(QPainter &painter, const QList<QLineF> &gitter,
                    const QList<Diagrammtext> &achsentexte)
{
    painter.setPen(diagrammStift(gitterfarbe(), 1.0));
    for (const QLineF &linie : gitter)
        painter.drawLine(linie);
    texteZeichnen(painter, achsentexte);
}

void legendenstricheZeichnen(QPainter &painter, const QList<QLineF> &striche,
                             const QList<QColor> &farben)
{
    for (qsizetype i = 0; i < striche.size(); ++i) {
        painter.setPen(diagrammStift(farben.at(i), 2.0));
        painter.drawLine(striche.at(i));
    }
}

} // namespace varo
