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

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;

namespace varo {

struct Programmwerte;
class Drucker;
class Leitungsflaeche;
struct Leitungsergebnis;
struct LeitungsTexte;
struct Messdaten;
class Smithflaeche;

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

    ~FrmLeitung() override;

    // What the chart shows; empty before the first computation.
    const Leitungsdiagramm &diagramm() const;
    // Everything computed, both views and both ends (leitungsmessung.h).
    const Leitungsergebnis &ergebnis() const { return *m_ergebnis; }
    // True after a field changed since the last computation.
    bool veraltet() const { return m_veraltet; }

    // Computes and draws from the fields; a fault is told and nothing drawn.
    bool anzeigen();
    // Writes chart, Smith chart (when that view is shown) or table to datei
    // (ending .csv, .s1p, .png, .svg or .pdf); refused while outdated.
    bool exportieren(const QString &datei);
    // Reads a measured file as the load; a file the reader refuses is told
    // and nothing changes.
    bool messdateiLaden(const QString &pfad);

protected:
    void keyPressEvent(QKeyEvent *ereignis) override;

private slots:
    void kabelGewaehlt();
    void bandGewaehlt();
    void exportierenFragen();
    void drucken();
    void messdateiWaehlen();
    void veralten();

private:
    void oberflaecheAufbauen();
    QWidget *eingabenAufbauen();
    QWidget *lastAufbauen();
    QWidget *ansichtAufbauen();
    void verbinden();
    void tabellenLaden();
    void ablesen(int index);
    void meldung(const QString &text, Symbol symbol);
    LeitungsTexte texteLesen() const;
    QString kabelTyp() const;
    void zeigen(Leitungsergebnis ergebnis, const QStringList &hinweise);
    void messdateienFuellen();

    Programmwerte &m_werte;
    Oberflaeche &m_ui;
    Drucker &m_drucker;
    Kabeltabellen m_tabellen;
    QString m_baenderPfad;
    QList<Kabeltyp> m_kabel;
    QList<Band> m_baender;
    // Held apart so that this header does not bring the measurement types
    // into every file that opens the window.
    std::unique_ptr<Leitungsergebnis> m_ergebnis;
    bool m_veraltet = false;
    std::unique_ptr<Messdaten> m_messdaten;
    QString m_messdatei;

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
    QRadioButton *optLastRX = nullptr;
    QRadioButton *optMessdatei = nullptr;
    QComboBox *cboMessdatei = nullptr;
    QPushButton *cmdMessdatei = nullptr;
    QComboBox *cboMessort = nullptr;
    QLabel *lblMesshinweis = nullptr;
    QTabWidget *tabAnsicht = nullptr;
    Smithflaeche *picSmith = nullptr;
    QTableWidget *tblAnpassung = nullptr;
    QLabel *lblAnpassung = nullptr;
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
