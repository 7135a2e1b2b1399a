#pragma once

// frmText, the main window: a report viewer. RichTextBox1 receives every
// calculation report through the TextEditBerichtsfeld port; the menus open
// the input dialog (F3, F4, F5) and the curve window (F6); the document
// commands and the format templates act on the report; closing the window
// closes every window opened from it and ends the program.

#include "texteditberichtsfeld.h"
#include "werte.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <memory>

class QAction;
class QMenu;
class QTextEdit;
class QToolBar;

namespace varo {

class DokumentBefehle;
class Dokumentdialoge;
class Drucker;
class FrmAbout;
class FrmKabel;
class FrmKabelKurve;
class FrmLeitung;
class FrmVermessen;
class FrmPlaner;
class Oberflaeche;
class Plattform;
class QtOberflaeche;
class Statusleiste;
struct Programmwerte;

class FrmText : public QMainWindow
{
    Q_OBJECT

public:
    // The adapters behind the window's ports, made where the program starts
    // (or by a test). Without a user-interface port the window makes its
    // own with Qt message boxes, which belong to it.
    struct Anschluesse
    {
        Drucker &drucker;
        std::unique_ptr<Dokumentdialoge> dialoge; // file, print, search, font
        std::unique_ptr<Plattform> plattform;     // the desktop that opens the help
        Oberflaeche *ui = nullptr;
    };

    FrmText(Programmwerte &werte, Anschluesse anschluesse, QWidget *parent = nullptr);
    ~FrmText() override;

    Berichtsfeld &berichtsfeld() { return m_feld; }
    QTextEdit *richTextBox() const { return m_richTextBox; }
    Oberflaeche &oberflaeche() { return *m_ui; }
    Drucker &drucker() { return m_drucker; }
    Programmwerte &werte() { return m_werte; }

    // A window opened from this one; shutdown closes such windows, the
    // most recently opened first.
    void fensterGeoeffnet(QWidget *fenster);

    // Open, save, search, print, printer set-up and font.
    DokumentBefehle &dokumentBefehle() { return *m_befehle; }

    // The desktop that opens the help document; tests substitute it.
    void setPlattform(std::unique_ptr<Plattform> plattform);

    // The input dialog while it is loaded (hidden or shown), else null.
    FrmKabel *frmKabel() const;
    // The curve window while it is open, else null.
    FrmKabelKurve *frmKabelKurve() const;
    FrmLeitung *frmLeitung() const;
    FrmVermessen *frmVermessen() const;
    FrmPlaner *frmPlaner() const;

    // " Varolinaten - Berechnung V2.0.7 <legal notice>"
    static QString titel(int major, int minor, int revision, const QString &rechtshinweis);

    // Twips as device pixels of this window's screen.
    int twipsZuPixel(int twips) const;

public slots:
    void mnuFile_Click();
    void mnuExit_Click();
    void mnuOpen_Click();
    void mnuSave_Click();
    void mnuSuchen_Click();
    void mnuPrint_Click();
    void mnuPrinter_Einstellungen_Click();
    void mnuFont_Click();
    // The toolbar's buttons by key: "Open", "Save", "Print", "Font". Their
    // actions are also the menu's, so every trigger of them comes here.
    void Toolbar1_ButtonClick(const QString &schluessel);
    void mnuHilfe_Click();
    void mnuStandard_Click();
    void mnuListing_Click();
    void mnuText_Click();
    void mnuRechnen_Click();
    void mnuRechnMehrere_Click();
    void mnuRechnVorhKabel_Click();
    void mnuRechnVorhKabelGrafisch_Click();
    void mnuLeitungsanalyse_Click();
    void mnuVermessen_Click();
    void mnuLaengenplaner_Click();
    void mnuEigeneKabel_Click();
    void mnuInfo_Click();

signals:
    // The main window was unloaded: the program ends.
    void entladen();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void aktionenAufbauen();
    void rechenaktionenAufbauen();
    void menuesAufbauen();
    void werkzeugleisteAufbauen();
    void statusleisteAufbauen();
    void Form_Load();
    void Form_QueryUnload();
    void dateiEintraegeAktualisieren();
    void zentrierteZeilenAusrichten();
    void eingabedialogZeigen(Berechnungsmodus modus);
    QAction *neueAktion(const char *name, const QString &beschriftung,
                        const QKeySequence &kurzwahl = {});

    Programmwerte &m_werte;
    Drucker &m_drucker;
    std::unique_ptr<QtOberflaeche> m_eigeneUi;
    Oberflaeche *m_ui;
    QTextEdit *m_richTextBox;
    TextEditBerichtsfeld m_feld;
    std::unique_ptr<DokumentBefehle> m_befehle;
    std::unique_ptr<Plattform> m_plattform;
    QToolBar *m_toolbar = nullptr;
    Statusleiste *m_statusBar = nullptr;
    QList<QPointer<QWidget>> m_fenster;
    bool m_ausrichtenGeplant = false;
    QPointer<FrmKabel> m_frmKabel;
    QPointer<FrmKabelKurve> m_frmKabelKurve;
    QPointer<FrmLeitung> m_frmLeitung;
    QPointer<FrmVermessen> m_frmVermessen;
    QPointer<FrmPlaner> m_frmPlaner;
    QPointer<FrmAbout> m_frmAbout;

    QMenu *m_mnuFile = nullptr;
    QAction *m_mnuOpen = nullptr;
    QAction *m_mnuSave = nullptr;
    QAction *m_mnuSuchen = nullptr;
    QAction *m_mnuPrinterEinstellungen = nullptr;
    QAction *m_mnuPrint = nullptr;
    QAction *m_mnuExit = nullptr;
    QAction *m_mnuRechnen = nullptr;
    QAction *m_mnuRechnMehrere = nullptr;
    QAction *m_mnuRechnVorhKabel = nullptr;
    QAction *m_mnuRechnVorhKabelGrafisch = nullptr;
    QAction *m_mnuLeitungsanalyse = nullptr;
    QAction *m_mnuVermessen = nullptr;
    QAction *m_mnuLaengenplaner = nullptr;
    QAction *m_mnuEigeneKabel = nullptr;
    QAction *m_mnuFont = nullptr;
    QAction *m_mnuStandard = nullptr;
    QAction *m_mnuListing = nullptr;
    QAction *m_mnuText = nullptr;
    QAction *m_mnuHilfe = nullptr;
    QAction *m_mnuInfo = nullptr;
};

} // namespace varo
