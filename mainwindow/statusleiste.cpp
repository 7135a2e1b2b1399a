#include "statusleiste.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QTimer>

namespace varo {

namespace {
QLabel *feld(const QString &name, QWidget *eltern)
{
    auto *label = new QLabel(eltern);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setContentsMargins(4, 0, 4, 0);
    return label;
}
} // namespace

Statusleiste::Statusleiste(QWidget *parent)
    : QStatusBar(parent), m_text(feld(QStringLiteral("Panel1"), this)),
      m_uhrzeit(feld(QStringLiteral("Panel2"), this)),
      m_datum(feld(QStringLiteral("Panel3"), this)), m_takt(new QTimer(this))
{
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(true);
    addWidget(m_text, 1);
    addPermanentWidget(m_uhrzeit);
    addPermanentWidget(m_datum);

    // Once a second is cheap and keeps the minute change within a second.
    m_takt->setInterval(1000);
    connect(m_takt, &QTimer::timeout, this, [this] { anzeigen(QDateTime::currentDateTime()); });
    m_takt->start();
    anzeigen(QDateTime::currentDateTime());
}

QString Statusleiste::datumsformat(const QLocale &locale)
{
    // The locale's short date, with the year written out: 09.12.2026.
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

QString Statusleiste::uhrzeitText() const
{
    return m_uhrzeit->text();
}

QString Statusleiste::datumText() const
{
    return m_datum->text();
}

void Statusleiste::anzeigen(const QDateTime &zeitpunkt)
{
    const QLocale locale;
    m_uhrzeit->setText(locale.toString(zeitpunkt.time(), QLocale::ShortFormat));
    m_datum->setText(locale.toString(zeitpunkt.date(), datumsformat(locale)));
}

} // namespace varo
