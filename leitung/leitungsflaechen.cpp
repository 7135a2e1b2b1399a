#include "leitungsflaechen.h"

#include <QMouseEvent>
#include <QPainter>

namespace varo {

Leitungsflaeche::Leitungsflaeche(const Leitungsergebnis &ergebnis, QWidget *parent)
    : QWidget(parent), m_ergebnis(ergebnis)
{
    setMouseTracking(true);
    setMinimumSize(440, 240);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void Leitungsflaeche::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    leitungsdiagrammZeichnen(painter, m_ergebnis.diagramm, QSizeF(size()), markiert);
}

void Leitungsflaeche::mouseMoveEvent(QMouseEvent *ereignis)
{
    const int index =
        leitungsIndexBei(m_ergebnis.diagramm, QSizeF(size()), ereignis->position().x());
    if (index < 0 || index == markiert || index >= m_ergebnis.verlaufIndex.size())
        return;
    markiert = index;
    update();
    if (beiZeiger)
        beiZeiger(m_ergebnis.verlaufIndex.at(index));
}

Smithflaeche::Smithflaeche(const Leitungsergebnis &ergebnis, QWidget *parent)
    : QWidget(parent), m_ergebnis(ergebnis)
{
    setMouseTracking(true);
    setMinimumSize(240, 240);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize Smithflaeche::sizeHint() const
{
    return smithDesignGroesse();
}

void Smithflaeche::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_bild = smithbildBerechnen(m_ergebnis.smith, QSizeF(size()), QLocale());
    smithbildZeichnen(painter, m_bild);
}

void Smithflaeche::mouseMoveEvent(QMouseEvent *ereignis)
{
    // Within a tenth of the chart's radius of a trace.
    const int index =
        smithIndexBei(m_ergebnis.smith, m_bild, ereignis->position(), m_bild.radius / 10.0);
    if (index < 0 || index == m_ergebnis.smith.markiert)
        return;
    if (beiZeiger)
        beiZeiger(index);
}

} // namespace varo
