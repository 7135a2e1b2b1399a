#include "planflaeche.h"

#include "planergrafik.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace varo {

namespace {

// Shorter drags are taken as clicks.
constexpr double kKleinsterZug = 4.0;

} // namespace

Planflaeche::Planflaeche(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void Planflaeche::setPlanung(const Planung *planung)
{
    m_planung = planung;
    m_markiert = -1;
    update();
}

QSize Planflaeche::sizeHint() const
{
    return m_planung ? planDesignGroesse(*m_planung) : QSize(640, 300);
}

QSize Planflaeche::minimumSizeHint() const
{
    return QSize(320, 160);
}

void Planflaeche::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_planung) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    planZeichnen(painter, *m_planung, QSizeF(size()), locale(), m_markiert);
    if (m_ziehAnfang >= 0.0 && m_ziehEnde >= 0.0) {
        const QRectF flaeche = planFlaeche(*m_planung, QSizeF(size()));
        const double x1 = std::min(m_ziehAnfang, m_ziehEnde);
        const double x2 = std::max(m_ziehAnfang, m_ziehEnde);
        painter.fillRect(QRectF(x1, flaeche.top(), x2 - x1, flaeche.height()),
                         QColor(60, 110, 200, 60));
    }
}

double Planflaeche::laengeBei(double x) const
{
    const QRectF f = planFlaeche(*m_planung, QSizeF(size()));
    const Planungsanfrage &a = m_planung->anfrage;
    const double anteil = std::clamp((x - f.left()) / f.width(), 0.0, 1.0);
    return a.vonLaenge + anteil * (a.bisLaenge - a.vonLaenge);
}

void Planflaeche::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_planung)
        return;
    const double x = event->position().x();
    if (m_ziehAnfang >= 0.0) {
        m_ziehEnde = x;
        update();
    }
    const qint64 index = planIndexBei(*m_planung, QSizeF(size()), x);
    if (index != m_markiert) {
        m_markiert = index;
        update();
        emit laengeGezeigt(index);
    }
}

void Planflaeche::mousePressEvent(QMouseEvent *event)
{
    if (m_planung && event->button() == Qt::LeftButton && m_planung->anzahl > 0) {
        m_ziehAnfang = event->position().x();
        m_ziehEnde = -1.0;
    }
}

void Planflaeche::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_ziehAnfang < 0.0)
        return;
    const double anfang = m_ziehAnfang;
    const double ende = event->position().x();
    m_ziehAnfang = m_ziehEnde = -1.0;
    update();
    if (std::abs(ende - anfang) < kKleinsterZug)
        return;
    const double a = laengeBei(std::min(anfang, ende));
    const double b = laengeBei(std::max(anfang, ende));
    if (b > a)
        emit bereichGezogen(a, b);
}

void Planflaeche::leaveEvent(QEvent *)
{
    if (m_markiert >= 0) {
        m_markiert = -1;
        update();
        emit laengeGezeigt(-1);
    }
}

} // namespace varo
