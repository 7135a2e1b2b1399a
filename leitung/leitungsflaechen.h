#pragma once

// The two views of the line analysis window: the chart and the Smith chart,
// each drawn at its own size from the window's result, each reporting the
// frequency under the mouse as an index into the result's points.

#include "leitungsmessung.h"

#include <QWidget>

#include <functional>

namespace varo {

class Leitungsflaeche : public QWidget
{
public:
    explicit Leitungsflaeche(const Leitungsergebnis &ergebnis, QWidget *parent = nullptr);

    std::function<void(int)> beiZeiger; // index into the result's points
    int markiert = -1;                  // sample of the chart

    QSize sizeHint() const override { return leitungsDesignGroesse(); }

protected:
    void paintEvent(QPaintEvent *) override;
    void mouseMoveEvent(QMouseEvent *ereignis) override;

private:
    const Leitungsergebnis &m_ergebnis;
};

class Smithflaeche : public QWidget
{
public:
    explicit Smithflaeche(const Leitungsergebnis &ergebnis, QWidget *parent = nullptr);

    std::function<void(int)> beiZeiger; // index into the result's points

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *) override;
    void mouseMoveEvent(QMouseEvent *ereignis) override;

private:
    const Leitungsergebnis &m_ergebnis;
    Smithbild m_bild; // of the last paint, for the mouse
};

} // namespace varo
