#include "rtf.h"
#include "rtf_cp1252.h"
#include "schriftklasse.h"
#include "seitenbild.h"

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>

#include <cmath>
#include <vector>

#include "version.h"

// The file is plain 7-bit ASCII: every other character is escaped, so the
// result survives any transport and every reader agrees on the code page.
// Each block becomes "\pard[\qc] {run}{run}…\par", each fragment one group that
// states its whole format, so no reader has to track formatting across runs;
// an empty block states the format of its paragraph mark before \par.

namespace varo {
namespace {

QString familieVon(const QTextCharFormat &format, const QString &standard)
{
    const QStringList familien = format.fontFamilies().toStringList();
    if (!familien.isEmpty() && !familien.first().isEmpty())
        return familien.first();
    return standard;
}

bool istFett(const QTextCharFormat &format)
{
    return format.fontWeight() >= QFont::DemiBold;
}

// The RTF font family class only helps a reader that lacks the font itself.
const char *familienklasse(const QString &name)
{
    switch (schriftklasseVonName(name)) {
    case Schriftklasse::Fest:
        return "\\fmodern";
    case Schriftklasse::Serif:
        return "\\froman";
    default:
        return "\\fswiss";
    }
}

void zahlAnhaengen(QByteArray &aus, long long zahl)
{
    aus += QByteArray::number(zahl);
}

void hexAnhaengen(QByteArray &aus, unsigned char byte)
{
    static const char ziffern[] = "0123456789abcdef";
    aus += "\\'";
    aus += ziffern[byte >> 4];
    aus += ziffern[byte & 0x0f];
}

// Escapes text per UTF-16 unit. Characters outside cp1252 become \uN with a
// single \'3f fallback: a literal "?" fallback makes some readers drop the
// text that follows.
void textAnhaengen(QByteArray &aus, const QString &text)
{
    for (const QChar zeichen : text) {
        const char16_t c = zeichen.unicode();
        switch (c) {
        case u'\\':
            aus += "\\\\";
            continue;
        case u'{':
            aus += "\\{";
            continue;
        case u'}':
            aus += "\\}";
            continue;
        case u'\t':
            aus += "\\tab ";
            continue;
        case 0x2028:
            aus += "\\line ";
            continue;
        case 0x00A0:
            aus += "\\~";
            continue;
        case 0x00AD:
            aus += "\\-";
            continue;
        case 0x2011:
            aus += "\\_";
            continue;
        case 0xFFFC: // object replacement: images are not part of a report
            continue;
        default:
            break;
        }
        if (c >= 0x20 && c <= 0x7E) {
            aus += char(c);
            continue;
        }
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F) || c == 0x2029)
            continue; // control characters have no place in a run
        if (const int byte = rtf::cp1252Byte(c); byte >= 0) {
            hexAnhaengen(aus, static_cast<unsigned char>(byte));
            continue;
        }
        // Surrogates go out unit by unit, each with its own fallback.
        aus += "\\u";
        zahlAnhaengen(aus, c > 32767 ? long(c) - 65536 : long(c));
        aus += "\\'3f";
    }
}

struct Tabellen
{
    QStringList schriften; // index = \f number
    QList<QRgb> farben;    // index + 1 = \cf number
    int schriftIndex(const QString &familie) const { return int(schriften.indexOf(familie)); }
    int farbIndex(QRgb farbe) const { return int(farben.indexOf(farbe)) + 1; }
};

// The control words of a character format, font and size always included.
void formatAnhaengen(QByteArray &aus, const QTextCharFormat &format, const Tabellen &tabellen,
                     const QString &standardFamilie, double standardGroesse)
{
    aus += "\\f";
    zahlAnhaengen(aus, tabellen.schriftIndex(familieVon(format, standardFamilie)));
    aus += "\\fs";
    const double punkte = format.fontPointSize() > 0 ? format.fontPointSize() : standardGroesse;
    zahlAnhaengen(aus, std::max(2L, std::lround(punkte * 2.0)));
    if (istFett(format))
        aus += "\\b";
    if (format.fontItalic())
        aus += "\\i";
    if (format.fontUnderline())
        aus += "\\ul";
    if (format.fontStrikeOut())
        aus += "\\strike";
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        aus += "\\super";
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        aus += "\\sub";
    if (format.hasProperty(QTextFormat::ForegroundBrush) &&
        format.foreground().style() != Qt::NoBrush) {
        aus += "\\cf";
        zahlAnhaengen(aus, tabellen.farbIndex(format.foreground().color().rgb()));
    }
}

bool istLeer(const QTextBlock &block)
{
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().isValid() && it.fragment().length() > 0)
            return false;
    }
    return true;
}

struct Standardschrift
{
    QString familie;
    double groesse = 10.0;
};

Tabellen tabellenSammeln(const QTextDocument &dokument, const QString &standardFamilie)
{
    // The document's default font is always \f0.
    Tabellen tabellen;
    tabellen.schriften.append(standardFamilie);
    const auto eintragen = [&](const QTextCharFormat &format) {
        const QString familie = familieVon(format, standardFamilie);
        if (tabellen.schriftIndex(familie) < 0)
            tabellen.schriften.append(familie);
        if (format.hasProperty(QTextFormat::ForegroundBrush) &&
            format.foreground().style() != Qt::NoBrush) {
            const QRgb farbe = format.foreground().color().rgb();
            if (tabellen.farbIndex(farbe) == 0)
                tabellen.farben.append(farbe);
        }
    };
    for (QTextBlock block = dokument.begin(); block.isValid(); block = block.next()) {
        if (istLeer(block))
            eintragen(block.charFormat());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid())
                eintragen(fragment.charFormat());
        }
    }
    return tabellen;
}

long twips(double mm)
{
    return std::lround(mm * 1440.0 / 25.4);
}

void kopfAnhaengen(QByteArray &aus, const Tabellen &tabellen)
{
    aus += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031\\uc1\r\n";
    aus += "{\\fonttbl";
    for (int i = 0; i < tabellen.schriften.size(); ++i) {
        aus += "{\\f";
        zahlAnhaengen(aus, i);
        aus += familienklasse(tabellen.schriften.at(i));
        aus += "\\fcharset0 ";
        // A ";" inside the name would end the entry early.
        QString name = tabellen.schriften.at(i);
        name.remove(QLatin1Char(';'));
        textAnhaengen(aus, name);
        aus += ";}";
    }
    aus += "}\r\n";
    aus += "{\\colortbl;";
    for (const QRgb farbe : std::as_const(tabellen.farben)) {
        aus += "\\red";
        zahlAnhaengen(aus, qRed(farbe));
        aus += "\\green";
        zahlAnhaengen(aus, qGreen(farbe));
        aus += "\\blue";
        zahlAnhaengen(aus, qBlue(farbe));
        aus += ';';
    }
    aus += "}\r\n";
    aus += "{\\*\\generator Varolinaten ";
    aus += QByteArray::number(version::major) + '.' + QByteArray::number(version::minor);
    aus += ";}\r\n";
    // A4 with the margins the program prints with: a report line fits.
    const QMarginsF &rand = seitenbild::randMm;
    aus += "\\paperw11906\\paperh16838\\margl" + QByteArray::number(twips(rand.left())) +
           "\\margr" + QByteArray::number(twips(rand.right())) + "\\margt" +
           QByteArray::number(twips(rand.top())) + "\\margb" +
           QByteArray::number(twips(rand.bottom())) + "\\viewkind4\r\n";
}

// The line height the paper copy gives the block: exactly the report line's
// for normal text, a line that only pads a page before the next page's
// label next to nothing (the paper copy drops it), larger text its own.
void zeilenhoeheAnhaengen(QByteArray &aus, const QTextBlock &block, bool fuellt)
{
    if (fuellt) {
        aus += "\\sl-20\\slmult0";
        return;
    }
    if (seitenbild::groessteSchrift(block) > seitenbild::groessteFesteSchrift)
        return;
    aus += "\\sl-";
    zahlAnhaengen(aus, twips(seitenbild::zeilenhoeheMm));
    aus += "\\slmult0";
}

// One block: "[\page]\pard[\qc]\slN\slmult0{run}{run}…\par". Runs state
// only the attributes they have, so after an empty line, whose paragraph
// mark switched its format on, \plain switches it off again.
void absatzAnhaengen(QByteArray &aus, const QTextBlock &block, const Tabellen &tabellen,
                     const Standardschrift &standard, bool nachLeerzeile, bool fuellt)
{
    // Each page label starts a page, as on the program's paper.
    if (block.previous().isValid() && seitenbild::istSeitenzeile(block.text()))
        aus += "\\page\r\n";
    if (nachLeerzeile)
        aus += "\\plain";
    aus += "\\pard";
    const Qt::Alignment ausrichtung = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    if (ausrichtung & Qt::AlignHCenter)
        aus += "\\qc";
    else if (ausrichtung & Qt::AlignJustify)
        aus += "\\qj";
    else if (ausrichtung & (Qt::AlignRight))
        aus += "\\qr";
    zeilenhoeheAnhaengen(aus, block, fuellt);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid() || fragment.length() == 0)
            continue;
        aus += '{';
        formatAnhaengen(aus, fragment.charFormat(), tabellen, standard.familie, standard.groesse);
        // The blank ends the last control word; a leading blank of the
        // text then follows as a second one.
        aus += ' ';
        textAnhaengen(aus, fragment.text());
        aus += '}';
    }
    // An empty line has only its paragraph mark, whose format sets the
    // line's height; it is stated after \plain, so no earlier empty line's
    // format carries over.
    if (istLeer(block)) {
        aus += "\\plain";
        formatAnhaengen(aus, block.charFormat(), tabellen, standard.familie, standard.groesse);
    }
    aus += "\\par\r\n";
}

} // namespace

QByteArray rtfSchreiben(const QTextDocument &dokument)
{
    const QFont schrift = dokument.defaultFont();
    Standardschrift standard;
    standard.familie =
        schrift.family().isEmpty() ? QStringLiteral("Courier New") : schrift.family();
    standard.groesse = schrift.pointSizeF() > 0 ? schrift.pointSizeF() : 10.0;
    const Tabellen tabellen = tabellenSammeln(dokument, standard.familie);

    QByteArray aus;
    aus.reserve(4096 + dokument.characterCount() * 2);
    kopfAnhaengen(aus, tabellen);
    const std::vector<bool> fueller = seitenbild::seitenfueller(dokument);
    bool nachLeerzeile = false;
    for (QTextBlock block = dokument.begin(); block.isValid(); block = block.next()) {
        absatzAnhaengen(aus, block, tabellen, standard, nachLeerzeile,
                        fueller[size_t(block.blockNumber())]);
        nachLeerzeile = istLeer(block);
    }
    aus += "}\r\n";
    return aus;
}

} // namespace varo
