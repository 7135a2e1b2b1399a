#pragma once

#include "planer.h"

#include <QWidget>

namespace varo {

// The strip chart on screen: paints the plan it is given, tells which
// grid length the mouse is over, and lets the user drag a stretch of
// lengths to plan next.
class Planflaeche : public QWidget
{
    Q_OBJECT

public:
    explicit Planflaeche(QWidget *parent = nullptr);

    // The plan stays the caller's; it must outlive its use here.
    void setPlanung(const Planung *planung);
    qint64 markiert() const { return m_markiert; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void laengeGezeigt(qint64 index); // -1 when the mouse left the lengths
    void bereichGezogen(double von, double bis);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    double laengeBei(double x) const;

    const Planung *m_planung = nullptr;
    qint64 m_markiert = -1;
    double m_ziehAnfang = -1.0; // x where a drag started, -1 without one
    double m_ziehEnde = -1.0;
};

} // namespace varo
