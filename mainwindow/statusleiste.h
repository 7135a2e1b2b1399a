#pragma once

#include <QStatusBar>

class QLabel;
class QLocale;
class QTimer;

namespace varo {

// StatusBar1: an empty text panel taking the free width, then the time and
// the date. The bar keeps both current on its own; nobody writes to it.
class Statusleiste : public QStatusBar
{
public:
    explicit Statusleiste(QWidget *parent = nullptr);

    QString uhrzeitText() const;
    QString datumText() const;

    // Shows the given moment; the timer calls it with the current time.
    void anzeigen(const QDateTime &zeitpunkt);

    // The locale's short date pattern with a four-digit year.
    static QString datumsformat(const QLocale &locale);

private:
    QLabel *m_text;
    QLabel *m_uhrzeit;
    QLabel *m_datum;
    QTimer *m_takt;
};

} // namespace varo
