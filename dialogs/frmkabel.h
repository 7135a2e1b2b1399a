#pragma once

#include "kabeltabelle.h"
#include "rechnen.h"
#include "werte.h"

#include <QString>
#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace varo {

class KabelAuswahl;
class Oberflaeche;

// The input dialog of the three text calculations. The main window sets
// the mode and shows it; the dialog loads the cable table once per
// creation, proposes defaults at every showing, lets only number
// characters through and hands a request to the calculation on
// "&Rechnen". A calculation that goes ahead hides it through the
// Oberflaeche port; the hidden dialog keeps its entries for the next use.
// Closing it discards it.
class FrmKabel : public QWidget
{
    Q_OBJECT

public:
    using Rechenfunktion = std::function<Ausgang(const Berechnungsanfrage &)>;

    FrmKabel(Programmwerte &werte, Oberflaeche &ui, Rechenfunktion rechnen,
             QWidget *parent = nullptr);
    // The same with the cables read from these tables instead of the
    // Kabel.txt beside the program and the user's own.
    FrmKabel(Programmwerte &werte, Oberflaeche &ui, Rechenfunktion rechnen,
             const Kabeltabellen &tabellen, QWidget *parent = nullptr);

    // Set the mode, adapt the labels and the frequency field to it and show
    // the dialog; the defaults are proposed afresh.
    void modusEinrichten(Berechnungsmodus modus);
    // The dialog's tag: the mode's text.
    QString Berechnungsart() const;

    // The request as the fields hold it right now.
    Berechnungsanfrage anfrage() const;

    // True when two frequencies of the frequency field lie in the same band.
    bool GleichesBand() const;

public slots:
    void Command1_Click();

protected:
    bool eventFilter(QObject *objekt, QEvent *ereignis) override;
    void showEvent(QShowEvent *ereignis) override;

private:
    void oberflaecheAufbauen();
    void anordnen();
    void Form_Load(const Kabeltabellen &tabellen);
    void Form_Activate();
    void Text1_LostFocus();
    void text1HoeheSetzen(int zeilen, int twips);
    void text1Nachfuehren();

    Programmwerte &m_werte;
    Oberflaeche &m_ui;
    Rechenfunktion m_rechnen;

    Berechnungsmodus m_modus = Berechnungsmodus::Keiner;
    Berechnungsmodus m_letzterModus = Berechnungsmodus::Keiner;
    bool m_rechnetGerade = false;

    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    QLabel *m_label3 = nullptr;
    QLabel *m_label4 = nullptr;
    QPlainTextEdit *m_text1 = nullptr;
    KabelAuswahl *m_combo1 = nullptr;
    QLineEdit *m_text3 = nullptr;
    QLineEdit *m_text4 = nullptr;
    QPushButton *m_command1 = nullptr;
};

} // namespace varo
