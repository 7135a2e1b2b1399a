#pragma once

// The length planner: the user ticks bands (or types ranges), picks the
// cable, gives the range of lengths, the step and the margin required, and
// sees per band which lengths to avoid, the clear ranges with their best
// lengths and the best length of all. The window only reads its fields into
// a Planungsanfrage, calls planen() and shows the Planung; the chart is
// painted by planergrafik, the report by the main window through the
// function given to the constructor.

#include "kabeltabelle.h"
#include "planer.h"

#include <QString>
#include <QWidget>

#include <functional>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace varo {

class Planflaeche;

class FrmPlaner : public QWidget
{
    Q_OBJECT

public:
    // Hands a finished plan and the cable's type name (empty for a typed
    // velocity factor) to whoever writes the report.
    using Berichten = std::function<void(const Planung &planung, const QString &kabel)>;

    explicit FrmPlaner(Berichten berichten, QWidget *parent = nullptr);
    // The same with the band list and the cable tables read from the given
    // files instead of those beside the program (and the own table).
    FrmPlaner(Berichten berichten, const QString &bandliste, const Kabeltabellen &kabeltabellen,
              QWidget *parent = nullptr);

    const Planung &planung() const { return m_planung; }
    // Empty when the fields give a plan, else why not.
    QString meldung() const { return m_meldung; }

    // Writes the chart as PNG, SVG or PDF in the size it has on screen;
    // false with the reason in grund when that failed.
    bool exportieren(const QString &datei, QString &grund) const;

private slots:
    void neuPlanen();
    void laengeZeigen(qint64 index);
    void bereichUebernehmen(double von, double bis);
    void cmdBericht_Click();
    void cmdExport_Click();

private:
    void oberflaecheAufbauen();
    QWidget *eingabenAufbauen(QWidget *eltern);
    QWidget *ergebnisAufbauen(QWidget *eltern);
    void baenderLaden(const QString &pfad);
    void kabelLaden(const Kabeltabellen &tabellen);
    void ergebnisZeigen();

    Berichten m_berichten;
    QList<Band> m_bandliste;
    Planung m_planung;
    QString m_meldung;
    QString m_kabelname;

    QListWidget *lstBaender = nullptr;
    QLineEdit *txtBereiche = nullptr;
    QComboBox *cboKabel = nullptr;
    QDoubleSpinBox *txtVon = nullptr;
    QDoubleSpinBox *txtBis = nullptr;
    QDoubleSpinBox *txtSchritt = nullptr;
    QDoubleSpinBox *txtAbstand = nullptr;
    Planflaeche *picPlan = nullptr;
    QLabel *lblAnzeige = nullptr;
    QLabel *lblBeste = nullptr;
    QLabel *lblMeldung = nullptr;
    QLabel *lblWeggelassen = nullptr;
    QTreeWidget *lstFrei = nullptr;
    QPushButton *cmdBericht = nullptr;
    QPushButton *cmdExport = nullptr;
    QPushButton *cmdSchliessen = nullptr;
};

} // namespace varo
