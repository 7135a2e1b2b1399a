#pragma once

// The curve window: an existing cable, loaded at the antenna end by a given
// impedance, and the magnitude of the impedance it presents at the
// transmitter end over a frequency range. The window reads and checks the
// fields, kurvenrechnung computes one drawing pass, kurvenzeichnung paints
// it into the retained image of Picture1; printing grabs the client area.

#include "kabeltabelle.h"
#include "kurvenrechnung.h"

#include <QString>
#include <QWidget>

#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace varo {

struct Programmwerte;
class Oberflaeche;
class Drucker;
class KabelAuswahl;
class Zeichenflaeche;

class FrmKabelKurve : public QWidget
{
    Q_OBJECT

public:
    FrmKabelKurve(Programmwerte &werte, Oberflaeche &ui, Drucker &drucker,
                  QWidget *parent = nullptr);
    // The same with the cables read from these tables instead of the
    // file beside the program and the user's own.
    FrmKabelKurve(Programmwerte &werte, Oberflaeche &ui, Drucker &drucker,
                  const Kabeltabellen &tabellen, QWidget *parent = nullptr);

    // True once a curve has been drawn in this window.
    bool kurveAngezeigt() const;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *objekt, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private slots:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void kabelAuswahl();

private:
    void oberflaecheAufbauen();
    void frequenzbereichAufbauen();
    void kabelgruppeAufbauen(); // the antenna's impedance and the cable group
    void knoepfeAufbauen();     // the buttons and the drawing surface
    void anordnen();
    void verbinden();
    void Form_Load();
    void Form_Activate();
    void anzeigen(bool ausGroessenaenderung);
    bool AchsenZeichnen(const KurvenAnfrage &anfrage, int p, bool still);
    void meldungZeigen(Kurvenmeldung meldung);
    void aussenbreiteSetzen(qint32 twips);
    void normalzustandAbwarten(QSize vorher, bool groesseAendertSich);
    void druckSchritt(const std::function<void()> &schritt);

    Programmwerte &m_werte;
    Oberflaeche &m_ui;
    Drucker &m_drucker;
    Kabeltabellen m_tabellen;
    bool m_laden = false;
    bool m_aktivierenBeiRueckkehr = true;
    bool m_ersteAktivierungErledigt = false;
    bool m_inGroessenaenderung = false;

    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label11 = nullptr;
    QLabel *Label12 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *txtEingZ = nullptr;
    QLineEdit *txtKabelZ = nullptr;
    QLineEdit *txtKabelVk = nullptr;
    QLineEdit *txtKabelLg = nullptr;
    KabelAuswahl *Combo1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    Zeichenflaeche *Picture1 = nullptr;
};

} // namespace varo
