// The font command: font and colour of the selection.
#include "dokumentbefehle.h"

#include "drucker.h"
#include "laufzeitfehler.h"
#include "oberflaeche.h"
#include "texteditberichtsfeld.h"

#include <QTextDocumentFragment>
#include <QTextEdit>

namespace varo {

void DokumentBefehle::schrift()
{
    m_ui.sanduhr();
    m_ui.ereignisseVerarbeiten();

    // Attributes that differ across the selection come from the caret.
    const Zeichenattribute a = m_feld.selAttribute();
    const QTextCharFormat caret = m_feld.edit().currentCharFormat();
    Schriftwahl vorgabe{caret.font(), caret.foreground().color()};
    if (a.schriftname)
        vorgabe.schrift.setFamily(*a.schriftname);
    if (a.groesse && *a.groesse > 0)
        vorgabe.schrift.setPointSizeF(*a.groesse);
    if (a.fett)
        vorgabe.schrift.setBold(*a.fett);
    if (a.kursiv)
        vorgabe.schrift.setItalic(*a.kursiv);
    if (a.unterstrichen)
        vorgabe.schrift.setUnderline(*a.unterstrichen);
    if (a.durchgestrichen)
        vorgabe.schrift.setStrikeOut(*a.durchgestrichen);
    if (a.farbe)
        vorgabe.farbe = *a.farbe;

    m_ui.normalerZeiger();
    const std::optional<Schriftwahl> wahl = m_dialoge->schrift(m_eltern, vorgabe);
    if (!wahl)
        return;

    Zeichenattribute neu;
    neu.schriftname = wahl->schrift.family();
    if (wahl->schrift.pointSizeF() > 0)
        neu.groesse = wahl->schrift.pointSizeF();
    neu.fett = wahl->schrift.bold();
    neu.kursiv = wahl->schrift.italic();
    neu.unterstrichen = wahl->schrift.underline();
    neu.durchgestrichen = wahl->schrift.strikeOut();
    if (wahl->farbe.isValid())
        neu.farbe = wahl->farbe;
    m_feld.setSelAttribute(neu);
}

} // namespace varo
