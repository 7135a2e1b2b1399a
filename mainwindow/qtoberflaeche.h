#pragma once

#include "oberflaeche.h"

#include <QPointer>
#include <QWidget>
#include <functional>

namespace varo {

// The user-interface port with Qt widgets: German message boxes, the
// system beep, the busy pointer and the two window hooks of the main
// window (hide the input dialog, show the main window).
class QtOberflaeche : public Oberflaeche
{
public:
    QtOberflaeche() = default;
    ~QtOberflaeche() override;

    QtOberflaeche(const QtOberflaeche &) = delete;
    QtOberflaeche &operator=(const QtOberflaeche &) = delete;

    // Message boxes belong to the program's active window; this one takes
    // them when none is active.
    void setElternfenster(QWidget *fenster) { m_eltern = fenster; }
    void setEingabedialogVerbergen(std::function<void()> aktion)
    {
        m_dialogVerbergen = std::move(aktion);
    }
    void setHauptfensterZeigen(std::function<void()> aktion)
    {
        m_hauptfensterZeigen = std::move(aktion);
    }

    bool sanduhrAktiv() const { return m_sanduhr; }

    void piep() override;
    Antwort meldung(const QString &text, const QString &titel, Symbol symbol,
                    Knoepfe knoepfe) override;
    void sanduhr() override;
    void normalerZeiger() override;
    void ereignisseVerarbeiten() override;
    void eingabedialogVerbergen() override;
    void hauptfensterZeigen() override;

    // The window a message box shown now belongs to.
    QWidget *elternfenster() const;

private:
    QPointer<QWidget> m_eltern;
    std::function<void()> m_dialogVerbergen;
    std::function<void()> m_hauptfensterZeigen;
    // The pointer is a state, not a stack: however often the busy pointer
    // is asked for, one normal pointer restores it.
    bool m_sanduhr = false;
};

} // namespace varo
