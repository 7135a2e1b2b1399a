#include "dokumentbefehle.h"

#include "drucker.h"
#include "laufzeitfehler.h"
#include "oberflaeche.h"
#include "rtf.h"
#include "texteditberichtsfeld.h"
#include "zahlenformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace varo {

namespace {

const QString zeilenende = QStringLiteral("\r\n");

// Qt's error strings are English; the user reads German.
QString grund(QFileDevice::FileError fehler)
{
    switch (fehler) {
    case QFileDevice::ReadError:
        return QStringLiteral("Die Datei kann nicht gelesen werden.");
    case QFileDevice::WriteError:
        return QStringLiteral("Beim Schreiben ist ein Fehler aufgetreten (Datenträger voll?).");
    case QFileDevice::OpenError:
        return QStringLiteral("Die Datei lässt sich nicht öffnen oder anlegen (fehlt der Ordner, "
                              "ist der Name zu lang oder der Zugriff verweigert?).");
    case QFileDevice::PermissionsError:
        return QStringLiteral("Der Zugriff wurde verweigert.");
    case QFileDevice::ResourceError:
        return QStringLiteral("Es fehlt Speicher oder Speicherplatz.");
    case QFileDevice::AbortError:
        return QStringLiteral("Der Vorgang wurde abgebrochen.");
    default:
        return QStringLiteral("Unbekannter Dateifehler.");
    }
}

} // namespace

DokumentBefehle::DokumentBefehle(TextEditBerichtsfeld &feld, Drucker &drucker, Oberflaeche &ui,
                                 std::unique_ptr<Dokumentdialoge> dialoge, QWidget *eltern)
    : m_feld(feld), m_drucker(drucker), m_ui(ui), m_dialoge(std::move(dialoge)), m_eltern(eltern)
{
}

DokumentBefehle::~DokumentBefehle() = default;

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
    const QString titel = QStringLiteral("Öffnen");
    const QString anzeige = QDir::toNativeSeparators(name);
    const QString kopf =
        QStringLiteral("Die Datei \"%1\" konnte nicht geöffnet werden.").arg(anzeige) + zeilenende;

    // A folder, a pipe or a device is no report; a pipe would even block.
    const QFileInfo info(name);
    if (info.exists() && !info.isFile()) {
        dateifehler(kopf + QStringLiteral("Das ist keine gewöhnliche Datei."), titel);
        return;
    }
    QFile datei(name);
    if (!datei.open(QIODevice::ReadOnly)) {
        dateifehler(kopf + grund(datei.error()), titel);
        return;
    }
    if (datei.size() > maxDateigroesse) {
        dateifehler(kopf + QStringLiteral("Sie ist zu groß für einen Bericht."), titel);
        return;
    }
    const QByteArray inhalt = datei.read(maxDateigroesse + 1);
    if (datei.error() != QFileDevice::NoError) {
        dateifehler(kopf + grund(datei.error()), titel);
        return;
    }
    QString fehler;
    // The reader leaves the document untouched when the file is no RTF.
    if (!rtfLesen(inhalt, m_feld.dokument(), &fehler)) {
        dateifehler(kopf + fehler, titel);
        return;
    }
    m_feld.setSelStart(0);
}

void DokumentBefehle::speichern()
{
    const QString name = m_dialoge->dateiSpeichern(m_eltern, dateivorschlag(QDate::currentDate()));
    if (name.isEmpty())
        return;
    const QByteArray rtf = rtfSchreiben(m_feld.dokument());

    // Through a temporary file: a failed save leaves an older file whole.
    QSaveFile datei(name);
    if (!datei.open(QIODevice::WriteOnly) || datei.write(rtf) != rtf.size() || !datei.commit()) {
        const QFileDevice::FileError fehler = datei.error();
        datei.cancelWriting();
        dateifehler(QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden.")
                            .arg(QDir::toNativeSeparators(name)) +
                        zeilenende + grund(fehler),
                    QStringLiteral("Speichern"));
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

bool DokumentBefehle::druckschritte(const std::vector<Schritt> &schritte)
{
    bool durch = true;
    for (std::size_t i = 0; i < schritte.size();) {
        try {
            if (!schritte[i]()) {
                durch = false;
                break;
            }
            ++i;
        } catch (const Laufzeitfehler &f) {
            m_ui.normalerZeiger();
            if (f.nummer() == fehler::Abbruch)
                return false;
            const Antwort antwort =
                m_ui.meldung(f.beschreibung() + zeilenende + QStringLiteral("Wiederholen ? "),
                             QStringLiteral("Drucker-Fehler?"), Symbol::Ausrufezeichen,
                             Knoepfe::AbbrechenWiederholenIgnorieren);
            if (antwort == Antwort::Wiederholen) {
                m_ui.sanduhr();
            } else if (antwort == Antwort::Ignorieren) {
                m_ui.sanduhr();
                ++i;
            } else {
                durch = false;
                break;
            }
        }
    }
    m_ui.normalerZeiger();
    return durch;
}

void DokumentBefehle::drucken()
{
    Druckumfang umfang = Druckumfang::Abbruch;
    druckschritte({
        [&] {
            umfang = m_dialoge->drucken(m_eltern, m_feld.selLength() > 0);
            return umfang != Druckumfang::Abbruch;
        },
        [&] {
            m_ui.sanduhr();
            m_ui.ereignisseVerarbeiten();
            return true;
        },
        [&] {
            const QTextCursor auswahl = m_feld.edit().textCursor();
            if (umfang == Druckumfang::Auswahl && auswahl.hasSelection()) {
                // The selection as a document of its own, formatting included.
                QTextDocument teil;
                teil.setDefaultFont(m_feld.dokument().defaultFont());
                QTextCursor(&teil).insertFragment(auswahl.selection());
                m_drucker.dokumentDrucken(teil);
            } else {
                m_drucker.dokumentDrucken(m_feld.dokument());
            }
            return true;
        },
        [&] {
            m_ui.ereignisseVerarbeiten();
            m_ui.normalerZeiger();
            return true;
        },
    });
}

void DokumentBefehle::druckerEinrichten()
{
    const auto still = [](const std::function<void()> &schritt) {
        try {
            schritt();
        } catch (const Laufzeitfehler &) {
        }
    };

    // The program's printer starts from a known state.
    QString vorher;
    still([&] { m_drucker.setStandardFolgen(true); });
    still([&] { m_drucker.setSkalierung(6); });
    still([&] { m_drucker.setOrientierung(1); });
    still([&] { m_drucker.setPapiergroesse(9); });
    still([&] { m_drucker.setPapierfach(7); });
    still([&] { vorher = m_drucker.geraetename(); });
    m_ui.ereignisseVerarbeiten();

    int orientierung = 1;
    int papier = 9;
    int fach = 7;
    for (;;) {
        bool nochmal = false;
        const bool durch = druckschritte({
            [&] {
                const bool ok = m_dialoge->druckerEinrichten(m_eltern);
                m_ui.ereignisseVerarbeiten();
                return ok;
            },
            [&] {
                orientierung = m_drucker.orientierung();
                return true;
            },
            [&] {
                const QString neu = m_drucker.geraetename();
                papier = m_drucker.papiergroesse();
                fach = m_drucker.papierfach();
                m_ui.ereignisseVerarbeiten();
                if (neu == vorher)
                    return true;
                m_ui.normalerZeiger();
                const Antwort antwort =
                    m_ui.meldung(QStringLiteral("Der Druckertyp wurde gewechselt:     ") +
                                     zeilenende + zeilenende + neu,
                                 QStringLiteral("Drucker "), Symbol::Frage, Knoepfe::OkAbbrechen);
                m_ui.ereignisseVerarbeiten();
                // Cancel: the set-up dialog once more.
                nochmal = antwort != Antwort::Ok;
                return !nochmal;
            },
        });
        if (nochmal)
            continue;
        if (!durch)
            return;
        break;
    }

    still([&] { m_drucker.setOrientierung(orientierung); });
    still([&] { m_drucker.setPapiergroesse(papier); });
    still([&] { m_drucker.setPapierfach(fach); });
    m_ui.ereignisseVerarbeiten();
}

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
