#include "qtoberflaeche.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

namespace varo {

namespace {

QMessageBox::Icon qtSymbol(Symbol symbol)
{
    switch (symbol) {
    case Symbol::Stopp:
        return QMessageBox::Critical;
    case Symbol::Frage:
        return QMessageBox::Question;
    case Symbol::Ausrufezeichen:
        return QMessageBox::Warning;
    case Symbol::Information:
        return QMessageBox::Information;
    case Symbol::Keins:
        break;
    }
    return QMessageBox::NoIcon;
}

// Kept in the order the table reads best; five entries, the padding costs nothing.
struct Knopf // NOLINT(clang-analyzer-optin.performance.Padding)
{
    QMessageBox::StandardButton qt;
    const char *beschriftung;
    Antwort antwort;
};

constexpr Knopf alleKnoepfe[] = {
    {QMessageBox::Ok, "OK", Antwort::Ok},
    {QMessageBox::Cancel, "Abbrechen", Antwort::Abbrechen},
    {QMessageBox::Abort, "Abbrechen", Antwort::Abbruch},
    {QMessageBox::Retry, "Wiederholen", Antwort::Wiederholen},
    {QMessageBox::Ignore, "Ignorieren", Antwort::Ignorieren},
};

QMessageBox::StandardButtons qtKnoepfe(Knoepfe knoepfe)
{
    switch (knoepfe) {
    case Knoepfe::Ok:
        break;
    case Knoepfe::OkAbbrechen:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Knoepfe::AbbrechenWiederholenIgnorieren:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

} // namespace

QtOberflaeche::~QtOberflaeche()
{
    // Derived parts are gone by now; this class's own cursor reset is the one meant.
    QtOberflaeche::normalerZeiger();
}

void QtOberflaeche::piep()
{
    QApplication::beep();
}

Antwort QtOberflaeche::meldung(const QString &text, const QString &titel, Symbol symbol,
                               Knoepfe knoepfe)
{
    const QPointer<QWidget> eltern = elternfenster();
    QMessageBox box(qtSymbol(symbol), titel, text, qtKnoepfe(knoepfe), eltern);
    for (const Knopf &k : alleKnoepfe) {
        if (QAbstractButton *b = box.button(k.qt))
            b->setText(QString::fromUtf8(k.beschriftung));
    }
    // The busy pointer must not hide that an answer is wanted.
    const bool warBeschaeftigt = m_sanduhr;
    if (warBeschaeftigt)
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const auto gewaehlt = static_cast<QMessageBox::StandardButton>(box.exec());
    if (warBeschaeftigt)
        QGuiApplication::restoreOverrideCursor();
    // The next keystroke goes where the user was typing, never into the
    // report behind.
    if (eltern && eltern->isVisible())
        eltern->activateWindow();

    for (const Knopf &k : alleKnoepfe) {
        if (k.qt == gewaehlt)
            return k.antwort;
    }
    // Closed without a button (Escape, close box): the box's own escape
    // choice, or the cautious one.
    switch (knoepfe) {
    case Knoepfe::Ok:
        return Antwort::Ok;
    case Knoepfe::OkAbbrechen:
        return Antwort::Abbrechen;
    case Knoepfe::AbbrechenWiederholenIgnorieren:
        break;
    }
    return Antwort::Abbruch;
}

QWidget *QtOberflaeche::elternfenster() const
{
    // A box belongs to the window that raised it: the input dialog, the
    // curve window, or the main window when the user was there. Only when
    // none of the program's windows is active does the main window take it.
    QWidget *aktiv = QApplication::activeWindow();
    if (aktiv && aktiv->isVisible())
        return aktiv;
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return m_eltern;
}

void QtOberflaeche::sanduhr()
{
    if (m_sanduhr)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_sanduhr = true;
}

void QtOberflaeche::normalerZeiger()
{
    if (!m_sanduhr)
        return;
    QGuiApplication::restoreOverrideCursor();
    m_sanduhr = false;
}

void QtOberflaeche::ereignisseVerarbeiten()
{
    QCoreApplication::processEvents();
}

void QtOberflaeche::eingabedialogVerbergen()
{
    if (m_dialogVerbergen)
        m_dialogVerbergen();
}

void QtOberflaeche::hauptfensterZeigen()
{
    if (m_hauptfensterZeigen)
        m_hauptfensterZeigen();
}

} // namespace varo
