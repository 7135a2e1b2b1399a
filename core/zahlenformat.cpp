#include "zahlenformat.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace varo {

namespace {

// A number pattern taken apart: literal text before and after the digits,
// the integer digits always shown, and the decimals always shown / at most.
struct Muster
{
    QString vorsatz;
    QString nachsatz;
    int ganzMin = 0;
    bool mitPunkt = false;
    int dezMin = 0;
    int dezMax = 0;
    bool prozent = false;
};

bool istPlatzhalter(QChar c)
{
    return c == u'0' || c == u'#';
}

Muster zerlege(const QString &muster)
{
    Muster m;
    enum class Teil { Vorsatz, Ganz, Dezimal, Nachsatz } teil = Teil::Vorsatz;
    bool ganzNullGesehen = false;
    for (const QChar c : muster) {
        if (teil == Teil::Vorsatz) {
            if (!istPlatzhalter(c) && c != u'.') {
                m.vorsatz += c;
                continue;
            }
            teil = Teil::Ganz;
        }
        if (teil == Teil::Ganz) {
            if (c == u'0')
                ganzNullGesehen = true;
            if (istPlatzhalter(c)) {
                // Once a "0" stands in the integer part, every place to its
                // right is shown as well.
                if (ganzNullGesehen)
                    ++m.ganzMin;
                continue;
            }
            if (c == u'.') {
                m.mitPunkt = true;
                teil = Teil::Dezimal;
                continue;
            }
            teil = Teil::Nachsatz;
        }
        if (teil == Teil::Dezimal) {
            if (istPlatzhalter(c)) {
                ++m.dezMax;
                if (c == u'0')
                    m.dezMin = m.dezMax;
                continue;
            }
            teil = Teil::Nachsatz;
        }
        m.nachsatz += c;
    }
    m.prozent = m.vorsatz.contains(u'%') || m.nachsatz.contains(u'%');
    return m;
}

// The significant decimal digits of a value, as the value is shown with a
// fixed number of significant digits: value = 0.d1d2d3... × 10^(exponent + 1).
struct Dezimalziffern
{
    std::string ziffern;
    int exponent = 0;
    bool negativ = false;
};

template <typename T> Dezimalziffern zerlegeWert(T wert, int stellen)
{
    Dezimalziffern d;
    d.negativ = std::signbit(wert);
    char puffer[64];
    const auto ergebnis = std::to_chars(puffer, puffer + sizeof puffer, std::fabs(wert),
                                        std::chars_format::scientific, stellen - 1);
    const std::string text(puffer, ergebnis.ptr);
    const auto e = text.find('e');
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] != '.')
            d.ziffern.push_back(text[i]);
    }
    d.exponent = std::stoi(text.substr(e + 1));
    return d;
}

// Reports format thousands of numbers with a handful of patterns: the
// recently used ones are kept taken apart.
const Muster &zerlegtesMuster(const QString &musterText)
{
    struct Eintrag
    {
        QString text;
        Muster muster;
    };
    constexpr std::size_t plaetze = 8;
    thread_local std::array<Eintrag, plaetze> zuletzt;
    thread_local std::size_t naechster = 0;
    for (const Eintrag &e : zuletzt) {
        if (!e.text.isNull() && e.text == musterText)
            return e.muster;
    }
    Eintrag &neu = zuletzt[naechster];
    naechster = (naechster + 1) % plaetze;
    neu.text = musterText.isNull() ? QStringLiteral("") : musterText;
    neu.muster = zerlege(musterText);
    return neu.muster;
}

QString formatiere(const Dezimalziffern &wert, const QString &musterText, const QLocale &locale)
{
    const Muster &m = zerlegtesMuster(musterText);
    const int exponent = wert.exponent + (m.prozent ? 2 : 0);

    // Fixed-point digits: ganzStellen integer places, then m.dezMax decimals.
    const int ganzStellen = std::max(exponent + 1, 1);
    const int gesamt = ganzStellen + m.dezMax;
    std::string fest(std::size_t(gesamt), '0');
    // Digit i of the value lands at fixed position versatz + i.
    const int versatz = ganzStellen - 1 - exponent;
    const int anzahl = int(wert.ziffern.size());
    for (int i = 0; i < anzahl; ++i) {
        const int j = versatz + i;
        if (j >= 0 && j < gesamt)
            fest[std::size_t(j)] = wert.ziffern[std::size_t(i)];
    }

    // Halves go away from zero: the first digit cut off decides alone.
    const int rundungsIndex = gesamt - versatz;
    if (rundungsIndex >= 0 && rundungsIndex < anzahl &&
        wert.ziffern[std::size_t(rundungsIndex)] >= '5') {
        int j = gesamt - 1;
        while (j >= 0 && fest[std::size_t(j)] == '9') {
            fest[std::size_t(j)] = '0';
            --j;
        }
        if (j >= 0)
            ++fest[std::size_t(j)];
        else
            fest.insert(fest.begin(), '1');
    }
    const int ganzEnde = int(fest.size()) - m.dezMax;

    std::string ganz = fest.substr(0, std::size_t(ganzEnde));
    const auto ersteZiffer = ganz.find_first_not_of('0');
    ganz.erase(0, ersteZiffer == std::string::npos ? ganz.size() : ersteZiffer);
    if (int(ganz.size()) < m.ganzMin)
        ganz.insert(0, std::size_t(m.ganzMin) - ganz.size(), '0');

    std::string dezimal = fest.substr(std::size_t(ganzEnde));
    while (int(dezimal.size()) > m.dezMin && dezimal.back() == '0')
        dezimal.pop_back();

    const bool nichtNull = fest.find_first_not_of('0') != std::string::npos;

    QString text;
    if (wert.negativ && nichtNull)
        text += u'-';
    text += m.vorsatz;
    text += QString::fromLatin1(ganz.data(), qsizetype(ganz.size()));
    // A pattern whose decimals all fell away ends without a separator.
    if (m.mitPunkt && !dezimal.empty()) {
        text += locale.decimalPoint();
        text += QString::fromLatin1(dezimal.data(), qsizetype(dezimal.size()));
    }
    text += m.nachsatz;
    return text;
}

} // namespace

QString formatZahl(double wert, const QString &muster, const QLocale &locale)
{
    if (!std::isfinite(wert))
        return locale.toString(wert);
    // A double is shown from its 15 significant digits ...
    return formatiere(zerlegeWert(wert, 15), muster, locale);
}

QString formatZahl(float wert, const QString &muster, const QLocale &locale)
{
    if (!std::isfinite(wert))
        return locale.toString(double(wert));
    // ... and a single with 7.
    return formatiere(zerlegeWert(wert, 7), muster, locale);
}

QString formatAllgemein(float wert, const QLocale &locale)
{
    if (!std::isfinite(wert))
        return locale.toString(double(wert));
    Dezimalziffern d = zerlegeWert(wert, 7);
    while (d.ziffern.size() > 1 && d.ziffern.back() == '0')
        d.ziffern.pop_back();
    if (d.ziffern == "0")
        return QStringLiteral("0");

    const QString punkt = locale.decimalPoint();
    const auto ziffern = [](const std::string &s) {
        return QString::fromLatin1(s.data(), qsizetype(s.size()));
    };
    QString text = d.negativ ? QStringLiteral("-") : QString();
    if (d.exponent >= 7 || d.exponent < -4) {
        text += QChar::fromLatin1(d.ziffern[0]);
        if (d.ziffern.size() > 1)
            text += punkt + ziffern(d.ziffern.substr(1));
        text += d.exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
        text += QStringLiteral("%1").arg(std::abs(d.exponent), 2, 10, QLatin1Char('0'));
    } else if (d.exponent >= 0) {
        const auto ganzStellen = std::size_t(d.exponent) + 1;
        std::string ganz = d.ziffern.substr(0, ganzStellen);
        ganz.resize(ganzStellen, '0');
        text += ziffern(ganz);
        if (d.ziffern.size() > ganzStellen)
            text += punkt + ziffern(d.ziffern.substr(ganzStellen));
    } else {
        text += QStringLiteral("0") + punkt + QString(-d.exponent - 1, u'0') + ziffern(d.ziffern);
    }
    return text;
}

QString formatDatum(const QDate &datum)
{
    return datum.toString(u"yyyyMMdd");
}

} // namespace varo
