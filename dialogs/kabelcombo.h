#pragma once

#include "kabeltabelle.h"

#include <QComboBox>

namespace varo {

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
