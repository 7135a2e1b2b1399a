#include "dokumentbefehle.h"

#include "dateilesen.h"
#include "drucker.h"
#include "laufzeitfehler.h"
#include "oberflaeche.h"
#include "rtf.h"
#include "texteditberichtsfeld.h"
#include "zahlenformat.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace varo {

namespace {

const QString zeilenende = QStringLiteral("\r\n");

// Shows itself only when opening takes longer than half a second: the
// steps of a large foreign file (reading, converting, laying out).
class Fortschritt
{
public:
    Fortschritt(Oberflaeche &ui, QWidget *eltern)
        : m_ui(ui), m_dialog(QStringLiteral("Die Datei wird gelesen …"), QString(), 0, 3, eltern)
    {
        m_dialog.setWindowTitle(QStringLiteral("Öffnen"));
        m_dialog.setCancelButton(nullptr);
        m_dialog.setMinimumDuration(500);
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
        m_ui.sanduhr();
    }
    ~Fortschritt()
    {
        m_dialog.close();
        m_ui.normalerZeiger();
    }
    Fortschritt(const Fortschritt &) = delete;
    Fortschritt &operator=(const Fortschritt &) = delete;

    void schritt(int wert, const QString &text)
    {
        m_dialog.setLabelText(text);
        m_dialog.setValue(wert);
    }
    // Before a message box, which must not sit under the hourglass.
    void ende()
    {
        m_dialog.close();
        m_ui.normalerZeiger();
    }

private:
    Oberflaeche &m_ui;
    QProgressDialog m_dialog;
};

} // namespace

DokumentBefehle::DokumentBefehle(TextEditBerichtsfeld &feld, Drucker &drucker, Oberflaeche &ui,
                                 std::unique_ptr<Dokumentdialoge> dialoge, QWidget *eltern)
    : m_feld(feld), m_drucker(drucker), m_ui(ui), m_dialoge(std::move(dialoge)), m_eltern(eltern)
{
}

DokumentBefehle::~DokumentBefehle()
{
    QObject::disconnect(m_leerung);
}

QString DokumentBefehle::dateivorschlag(const QDate &datum)
{
    return QStringLiteral("Varolinaten-Berechnung_") + formatDatum(datum) + QStringLiteral(".rtf");
}

void DokumentBefehle::dateifehler(const QString &text, const QString &titel)
{
    m_ui.meldung(text, titel, Symbol::Ausrufezeichen, Knoepfe::Ok);
}

void DokumentBefehle::oeffnen()
{
    const QString name = m_dialoge->dateiOeffnen(m_eltern);
    if (name.isEmpty())
        return;
    dateiOeffnen(name);
}

void DokumentBefehle::dateiOeffnen(const QString &name)
{
    const QString titel = QStringLiteral("Öffnen");
    const QString anzeige = QDir::toNativeSeparators(name);
    const QString kopf =
        QStringLiteral("Die Datei \"%1\" konnte nicht geöffnet werden.").arg(anzeige) + zeilenende;

    Fortschritt fortschritt(m_ui, m_eltern);
    // A folder, a pipe or a device is no report; a pipe would even block.
    const Dateiinhalt inhalt = dateiLesen(name, std::min(maxDateigroesse, rtf::maxEingabeBytes));
    if (!inhalt.vollstaendig) {
        fortschritt.ende();
        dateifehler(kopf + inhalt.fehler, titel);
        return;
    }
    fortschritt.schritt(1, QStringLiteral("Der Bericht wird aufgebaut …"));
    QString hinweis;
    rtf::Auslassungen ausgelassen;
    // The reader leaves the document untouched when the file is no RTF.
    if (!rtfLesen(inhalt.daten, m_feld.dokument(), &hinweis, {}, &ausgelassen)) {
        fortschritt.ende();
        dateifehler(kopf + hinweis, titel);
        return;
    }
    if (hinweis.isEmpty() && !rtfGeschlossen(inhalt.daten))
        hinweis = QStringLiteral("Die Datei ist abgeschnitten und wurde nur teilweise gelesen.");
    fortschritt.schritt(2, QStringLiteral("Der Bericht wird dargestellt …"));
    m_feld.setSelStart(0);
    // Lay the whole report out now, under the progress, not later in
    // pieces while the user scrolls.
    m_feld.dokument().documentLayout()->documentSize();
    fortschritt.schritt(3, QString());

    QObject::disconnect(m_leerung);
    m_unvollstaendig.clear();
    // What the report box cannot show is named, in the one message there is.
    const QString fehlt = rtf::auslassungenText(ausgelassen);
    if (hinweis.isEmpty()) {
        if (!fehlt.isEmpty()) {
            fortschritt.ende();
            m_ui.meldung(QStringLiteral("Die Datei „%1“ enthält mehr, als der Bericht darstellen "
                                        "kann.")
                                 .arg(anzeige) +
                             zeilenende + fehlt,
                         titel, Symbol::Information, Knoepfe::Ok);
        }
        return;
    }
    // What was read is shown, but saving it over the file would lose the rest.
    m_unvollstaendig = QFileInfo(name).absoluteFilePath();
    QTextDocument *dokument = &m_feld.dokument();
    m_leerung = QObject::connect(dokument, &QTextDocument::contentsChanged, dokument, [this] {
        if (m_feld.dokument().isEmpty()) {
            m_unvollstaendig.clear();
            QObject::disconnect(m_leerung);
        }
    });
    fortschritt.ende();
    m_ui.meldung(QStringLiteral("Die Datei \"%1\" wurde nur teilweise gelesen.").arg(anzeige) +
                     zeilenende + hinweis + zeilenende +
                     (fehlt.isEmpty() ? QString() : fehlt + zeilenende) + zeilenende +
                     QStringLiteral("Der Bericht ist unvollständig; beim Speichern unter "
                                    "demselben Namen fragt das Programm nach."),
                 titel, Symbol::Ausrufezeichen, Knoepfe::Ok);
}

void DokumentBefehle::speichern()
{
    const QString name = m_dialoge->dateiSpeichern(m_eltern, dateivorschlag(QDate::currentDate()));
    if (name.isEmpty())
        return;
    const QString titel = QStringLiteral("Speichern");
    const QString anzeige = QDir::toNativeSeparators(name);
    if (!m_unvollstaendig.isEmpty() && QFileInfo(name).absoluteFilePath() == m_unvollstaendig) {
        const Antwort antwort = m_ui.meldung(
            QStringLiteral("Der Bericht wurde aus \"%1\" nur teilweise gelesen.").arg(anzeige) +
                zeilenende +
                QStringLiteral("Speichern ersetzt die Datei, und was nicht gelesen wurde, geht "
                               "verloren. Trotzdem speichern?"),
            titel, Symbol::Frage, Knoepfe::OkAbbrechen);
        if (antwort != Antwort::Ok)
            return;
    }
    const QByteArray rtf = rtfSchreiben(m_feld.dokument());

    // Through a temporary file: a failed save leaves an older file whole.
    const QString grund = dateiSchreiben(name, rtf);
    if (!grund.isEmpty()) {
        dateifehler(
            QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden.").arg(anzeige) +
                zeilenende + grund,
            titel);
        return;
    }
    if (QFileInfo(name).absoluteFilePath() == m_unvollstaendig) {
        QObject::disconnect(m_leerung);
        m_unvollstaendig.clear();
    }
}

void DokumentBefehle::suchen()
{
    const QString gesucht = m_dialoge->suchtext(m_eltern, m_feld.selText());
    if (gesucht.isEmpty())
        return;

    // One character after the start of the selection, so that repeating the
    // command finds the next occurrence.
    const QString text = m_feld.text();
    const qsizetype ab = qsizetype(m_feld.selStart()) + 1;
    const qsizetype fund = ab > text.size() ? -1 : text.indexOf(gesucht, ab, Qt::CaseInsensitive);
    if (fund >= 0) {
        m_feld.setSelStart(int(fund));
        m_feld.setSelLength(int(gesucht.size()));
    } else {
        m_feld.setSelStart(0);
        m_feld.setSelLength(0);
        m_ui.meldung(QStringLiteral("Leider keine (weitere) Fundstelle"), QStringLiteral("Suchen"),
                     Symbol::Information, Knoepfe::Ok);
    }
    m_feld.edit().setFocus();
}

} // namespace varo
