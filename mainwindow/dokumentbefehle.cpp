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

} // namespace varo
