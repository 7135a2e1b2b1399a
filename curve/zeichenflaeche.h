#pragma once

#include <QImage>
#include <QWidget>

namespace varo {

// The drawing surface of the curve window. Its drawing is retained: the
// last image stays on screen when the window is covered, resized or grabbed
// for printing, until the next drawing pass replaces it.
class Zeichenflaeche : public QWidget
{
    Q_OBJECT

public:
    explicit Zeichenflaeche(QWidget *parent = nullptr);

    void setBild(const QImage &bild);
    const QImage &bild() const { return m_bild; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_bild;
};

} // namespace varo
