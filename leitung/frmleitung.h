#pragma once

// The window "Leitungsanalyse": a real cable with its loss between the
// transmitter and an antenna of measured impedance R + jX, and what the
// transmitter sees over a frequency range. The window only reads the
// fields; the model computes, leitungszeichnung draws.

#include "baender.h"
#include "kabeltabelle.h"
#include "leitungszeichnung.h"
#include "oberflaeche.h"

#include <QList>
#include <QString>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace varo {

struct Programmwerte;
class Drucker;
class Leitungsflaeche;

class FrmLeitung : public QWidget
{
    Q_OBJECT

public:
    FrmLeitung(Programmwerte &werte, Oberflaeche &ui, Drucker &drucker, QWidget *parent = nullptr);
    // The same with the cable tables and band list read from the given
    // paths instead of the files beside the program (and the own table).
    FrmLeitung(Programmwerte &werte, Oberflaeche &ui, Drucker &drucker,
               const Kabeltabellen &tabellen, const QString &baenderPfad,
               QWidget *parent = nullptr);

    // What the chart shows; empty before the first computation.
    const Leitungsdiagramm &diagramm() const { return m_diagramm; }

    // Computes and draws from the fields; a fault is told and nothing drawn.
    bool anzeigen();
    // Writes chart or table to datei (ending .csv, .png, .svg or .pdf).
    bool exportieren(const QString &datei);

private slots:
    void kabelGewaehlt();
    void bandGewaehlt();
    void exportierenFragen();
    void drucken();

private:
    void oberflaecheAufbauen();
    void tabellenLaden();
    void ablesen(int index);
    void meldung(const QString &text, Symbol symbol);

    Programmwerte &m_werte;
    Oberflaeche &m_ui;
    Drucker &m_drucker;
    Kabeltabellen m_tabellen;
    QString m_baenderPfad;
    QList<Kabeltyp> m_kabel;
    QList<Band> m_baender;
    Leitungsdiagramm m_diagramm;

    QLineEdit *txtVon = nullptr;
    QLineEdit *txtBis = nullptr;
    QComboBox *cboBand = nullptr;
    QComboBox *cboKabel = nullptr;
    QLineEdit *txtKabelZ = nullptr;
    QLineEdit *txtVk = nullptr;
    QLineEdit *txtDaempfung = nullptr;
    QLineEdit *txtLaenge = nullptr;
    QLineEdit *txtLastR = nullptr;
    QLineEdit *txtLastX = nullptr;
    QCheckBox *chkVerluste = nullptr;
    QPushButton *cmdAnzeigen = nullptr;
    QPushButton *cmdExportieren = nullptr;
    QPushButton *cmdDrucken = nullptr;
    QPushButton *cmdSchliessen = nullptr;
    QLabel *lblKabelHinweis = nullptr;
    QLabel *lblAblesung = nullptr;
    QLabel *lblZusammenfassung = nullptr;
    Leitungsflaeche *picDiagramm = nullptr;
};

} // namespace varo
