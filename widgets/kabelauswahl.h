#pragma once

#include "kabeltabelle.h"

#include <QComboBox>

namespace varo {

// The cable drop-down of the input dialog and the curve window: the items
// of the cable table, with a text the user may type (a velocity factor).
// Nothing typed is completed or added to the list. The field is narrower
// than the padded items, so it shows an item's start (velocity factor and
// type) once the user leaves it, and the open list is as wide as the
// longest item.
class KabelAuswahl : public QComboBox
{
    Q_OBJECT

public:
    explicit KabelAuswahl(QWidget *parent = nullptr);

    void showPopup() override;

    // The width the open list needs for its longest item.
    int listenbreite() const;

    // Scrolls the field back to the item's start.
    void anfangZeigen();

protected:
    void focusOutEvent(QFocusEvent *ereignis) override;
};

// Lets the cable table loader fill a combo box of a window.
class KabelCombo : public KabelListe
{
public:
    explicit KabelCombo(QComboBox &combo) : m_combo(combo) {}

    void eintragHinzufuegen(const QString &text) override { m_combo.addItem(text); }
    int anzahl() const override { return m_combo.count(); }
    void setAuswahl(int index) override { m_combo.setCurrentIndex(index); }
    void setText(const QString &text) override
    {
        if (m_combo.isEditable())
            m_combo.setEditText(text);
    }

private:
    QComboBox &m_combo;
};

} // namespace varo
