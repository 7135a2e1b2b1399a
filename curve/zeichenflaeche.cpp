#include "zeichenflaeche.h"

#include <QPaintEvent>
#include <QPainter>

namespace varo {

Zeichenflaeche::Zeichenflaeche(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

void Zeichenflaeche::setBild(const QImage &bild)
{
    m_bild = bild;
    update();
}

void Zeichenflaeche::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    if (!m_bild.isNull())
        painter.drawImage(QPointF(0, 0), m_bild);
}

} // namespace varo
