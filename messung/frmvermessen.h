#pragma once

// The window "Kabel vermessen": the files of a cable measured with its far
// end open (and shorted), its length or known velocity factor and the cable
// it is meant to be give the velocity factor, impedance and loss, a cable
// table row for the user's own table and the length to cut for a stub. The
// window only reads the fields; kabelmessung computes, vermessbild draws.

#include "kabelmessung.h"
#include "kabeltabelle.h"
#include "oberflaeche.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <optional>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace varo {

class Vermessflaeche;

class FrmVermessen : public QWidget
{
    Q_OBJECT

public:
    explicit FrmVermessen(Oberflaeche &ui, QWidget *parent = nullptr);
    // The same with the cable tables read from the given paths; the row is
    // taken into tabellen.eigen (the user's own table when that is empty).
    FrmVermessen(Oberflaeche &ui, const Kabeltabellen &tabellen, QWidget *parent = nullptr);

    // The last result; empty before the first computation.
    const std::optional<Kabelmessergebnis> &ergebnis() const { return m_ergebnis; }

    // Reads files and fields and computes; bad input is told and the
    // shown result stays as it was.
    bool rechnen();
    // Writes the proposed row into the user's own table, created with its
    // head when missing; asks before it replaces a row of the same name.
    bool uebernehmen();
    // The length for the target frequency and kind of line.
    bool kuerzen();

protected:
    // Esc closes the window.
    void keyPressEvent(QKeyEvent *ereignis) override;

private:
    void oberflaecheAufbauen();
    QWidget *eingabenAufbauen();
    QWidget *ergebnisAufbauen();
    QWidget *kuerzungAufbauen();
    void kabelLaden();
    void anzeigen(const Kabelmessergebnis &ergebnis, const QString &ueberschrift);
    void dateiWaehlen(QLineEdit *feld, const QString &titel);
    std::optional<Messangaben> angabenLesen();
    QString eigeneTabelle() const;
    bool meldung(const QString &text, Symbol symbol = Symbol::Stopp);

    Oberflaeche &m_ui;
    Kabeltabellen m_tabellen;
    QList<Kabeltyp> m_kabel;
    std::optional<Kabelmessergebnis> m_ergebnis;
    QString m_ueberschrift;

    QLineEdit *txtOffen = nullptr;
    QLineEdit *txtKurz = nullptr;
    QLineEdit *txtLaenge = nullptr;
    QLineEdit *txtVk = nullptr;
    QComboBox *cboKabel = nullptr;
    QLineEdit *txtName = nullptr;
    QPushButton *cmdRechnen = nullptr;
    QPushButton *cmdSchliessen = nullptr;
    QLabel *lblErgebnis = nullptr;
    QTableWidget *tblWerte = nullptr;
    QLineEdit *txtZeile = nullptr;
    QPushButton *cmdUebernehmen = nullptr;
    QLabel *lblTabelle = nullptr;
    QLineEdit *txtZiel = nullptr;
    QComboBox *cboArt = nullptr;
    QPushButton *cmdKuerzen = nullptr;
    QLabel *lblKuerzung = nullptr;
    Vermessflaeche *picDiagramm = nullptr;
};

} // namespace varo
