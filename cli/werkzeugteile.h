#pragma once

// What every mode of the report tool shares: the parsed options, the cable
// lookup, writing the result and the console stand-in for message boxes.

#include "kabeltabelle.h"
#include "kurvenexport.h"
#include "oberflaeche.h"

#include <QHash>
#include <QLocale>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QIODevice;
class QTextStream;

namespace varo {
class Berichtsfeld;
class DokumentBerichtsfeld;
class TextBerichtsfeld;
} // namespace varo

namespace varo::cli {

// Exit statuses: written, usage or other error, input refused.
constexpr int ok = 0;
constexpr int fehlerStatus = 1;
constexpr int abgelehnt = 2;

inline const QString programmname = QStringLiteral("varolinaten-bericht");

struct Optionen
{
    QHash<QString, QString> werte; // "--name WERT"
    QSet<QString> schalter;        // "--name" alone

    std::optional<QString> wert(const QString &name) const
    {
        const auto it = werte.constFind(name);
        if (it == werte.constEnd())
            return std::nullopt;
        return *it;
    }
    bool hat(const QString &name) const { return schalter.contains(name); }

    // --kabeltabelle alone, or Kabel.txt in the program's folder followed by
    // the user's own table.
    Kabeltabellen kabeltabellen(const QString &kabelOrdner) const
    {
        if (const auto tabelle = wert(QStringLiteral("kabeltabelle")))
            return {*tabelle};
        return {kabelOrdner + QStringLiteral("/Kabel.txt"), eigeneKabeltabellePfad()};
    }
};

// Collects what a window would have shown; message boxes with a choice are
// answered with Abort, since nobody is there to retry.
class KonsolenOberflaeche : public Oberflaeche
{
public:
    int pieps = 0;
    QStringList meldungen;

    void piep() override { ++pieps; }
    Antwort meldung(const QString &text, const QString &, Symbol, Knoepfe knoepfe) override
    {
        meldungen << einzeilig(text);
        return knoepfe == Knoepfe::AbbrechenWiederholenIgnorieren ? Antwort::Abbruch : Antwort::Ok;
    }
    void sanduhr() override {}
    void normalerZeiger() override {}
    void ereignisseVerarbeiten() override {}
    void eingabedialogVerbergen() override {}
    void hauptfensterZeigen() override {}

    static QString einzeilig(QString text)
    {
        text.replace(QLatin1String("\r\n"), QLatin1String(" "));
        return text.simplified();
    }
};

// A cable as the dialog would hold it: the field's text and its position in
// the table (-1 for a typed value).
struct Kabelwahl
{
    QString text;
    int index = -1;
    std::optional<Kabeltyp> kabel; // the table's row, when one was chosen
    QString hinweis; // what was left out of the tables (read in part, unusable own rows)
};

// The cable entry as the dialog would hold it: a typed value, an item of
// the tables, or a type name that picks its item ("RG-213", also the part
// of a name before " (" as in "RG-213 (Belden 8267)"). On failure grund
// says why: an unknown type, a table that cannot be read, a number out of
// range.
std::optional<Kabelwahl> kabelWaehlen(const QString &text, const Kabeltabellen &tabellen,
                                      const QLocale &locale, QString &grund);

// The document as text (CR LF), rtf or pdf; a PDF carries pdfTitel as its
// title.
QByteArray berichtDaten(const DokumentBerichtsfeld &feld, const QString &format,
                        const QString &pdfTitel);

// The report box a format needs, and the report taken out of it: plain text
// needs no rich-text document.
class Berichtsausgabe
{
public:
    explicit Berichtsausgabe(const QString &format);
    ~Berichtsausgabe();
    Berichtsausgabe(const Berichtsausgabe &) = delete;
    Berichtsausgabe &operator=(const Berichtsausgabe &) = delete;

    Berichtsfeld &feld();
    QByteArray daten(const QString &pdfTitel) const;

private:
    QString m_format;
    std::unique_ptr<TextBerichtsfeld> m_text;         // for plain text
    std::unique_ptr<DokumentBerichtsfeld> m_dokument; // for rtf and pdf
};

// Writes the result to the file (see dateiSchreiben), or to standard output
// without one or for "-". A failure is told with its cause on
// fehler and gives fehlerStatus.
int schreiben(const QByteArray &daten, const std::optional<QString> &datei, QIODevice &ausgabe,
              QTextStream &fehler);

// The refusal of an option's text that is not a usable number: a number
// too large (or too small) for the calculation is said to be out of range,
// anything else is no number. "--laenge: Die Zahl „1e309“ liegt außerhalb
// des Zahlenbereichs."
QString zahlAbgelehnt(const QString &option, const QString &text);

// Which option breaks a rule of the curve window, and how, for the refusals
// whose window text names neither ("Unkorrekte Eingabe!", "unreal"): one
// sentence such as "--vk: 1,5 liegt über 1.", or empty when the window's
// own text says enough.
QString kurvenOptionGrund(const KurvenEingabe &eingabe);

// A user's text as quoted in a message: long ones are cut, so that a huge
// argument is not echoed back whole.
QString zitat(const QString &text);

} // namespace varo::cli
