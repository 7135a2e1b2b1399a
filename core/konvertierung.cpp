#include "konvertierung.h"

#include "laufzeitfehler.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace varo {

namespace {

// Blanks, tabs and line feeds do not interrupt a typed number; a carriage
// return does.
bool wirdUebergangen(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

int ziffernWert(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'z')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'Z')
        return u - u'A' + 10;
    return 99;
}

// Reads the text with the separators removed, one character at a time.
class Leser
{
public:
    explicit Leser(const QString &text) : m_text(text) { ueberspringe(); }

    bool amEnde() const { return m_pos >= m_text.size(); }
    QChar zeichen() const { return amEnde() ? QChar() : m_text.at(m_pos); }
    void weiter()
    {
        ++m_pos;
        ueberspringe();
    }

private:
    void ueberspringe()
    {
        while (m_pos < m_text.size() && wirdUebergangen(m_text.at(m_pos)))
            ++m_pos;
    }

    const QString &m_text;
    qsizetype m_pos = 0;
};

// &H and &O numbers: whole numbers that are read as 16-bit values when
// they fit 16 bits and as 32-bit values otherwise, so &HFFFF is -1.
double leseGanzzahlMitBasis(Leser &leser, int basis)
{
    quint64 wert = 0;
    while (!leser.amEnde()) {
        const int ziffer = ziffernWert(leser.zeichen());
        if (ziffer >= basis)
            break;
        wert = wert * quint64(basis) + quint64(ziffer);
        if (wert > 0xFFFFFFFFull)
            throw Laufzeitfehler(fehler::Ueberlauf);
        leser.weiter();
    }
    if (wert <= 0xFFFFull)
        return double(qint16(quint16(wert)));
    return double(qint32(quint32(wert)));
}

// Beyond these decimal exponents every value is out of double range or
// below its smallest subnormal, whatever its digits.
constexpr qint64 groessterExponent = 400;
constexpr qint64 kleinsterExponent = -400;
// Exponent digits beyond this bound cannot change the outcome any more.
constexpr qint64 exponentGrenze = qint64(1) << 40;

// Significant digits without leading zeros; the value is
// 0.<ziffern> × 10^punktPosition.
struct Mantisse
{
    std::string ziffern;
    qint64 punktPosition = 0;
};

Mantisse leseMantisse(Leser &leser)
{
    Mantisse m;
    bool punktGelesen = false;
    while (!leser.amEnde()) {
        const QChar c = leser.zeichen();
        if (c == u'.' && !punktGelesen) {
            punktGelesen = true;
        } else if (c.unicode() >= u'0' && c.unicode() <= u'9') {
            if (m.ziffern.empty() && c == u'0') {
                if (punktGelesen)
                    --m.punktPosition;
            } else {
                m.ziffern.push_back(char(c.unicode()));
                if (!punktGelesen)
                    ++m.punktPosition;
            }
        } else {
            break;
        }
        leser.weiter();
    }
    return m;
}

// "E", "e", "D" or "d" with a signed power of ten; 0 without one.
qint64 leseExponent(Leser &leser)
{
    const QChar e = leser.zeichen();
    if (e != u'E' && e != u'e' && e != u'D' && e != u'd')
        return 0;
    leser.weiter();
    bool negativ = false;
    if (leser.zeichen() == u'+' || leser.zeichen() == u'-') {
        negativ = leser.zeichen() == u'-';
        leser.weiter();
    }
    qint64 exponent = 0;
    while (!leser.amEnde() && leser.zeichen().unicode() >= u'0' &&
           leser.zeichen().unicode() <= u'9') {
        if (exponent < exponentGrenze)
            exponent = exponent * 10 + (leser.zeichen().unicode() - u'0');
        leser.weiter();
    }
    return negativ ? -exponent : exponent;
}

double leseDezimalzahl(Leser &leser)
{
    bool negativ = false;
    if (leser.zeichen() == u'+' || leser.zeichen() == u'-') {
        negativ = leser.zeichen() == u'-';
        leser.weiter();
    }
    Mantisse mantisse = leseMantisse(leser);
    std::string &ziffern = mantisse.ziffern;
    const qint64 exponent = leseExponent(leser);

    while (!ziffern.empty() && ziffern.back() == '0')
        ziffern.pop_back();
    if (ziffern.empty())
        return 0.0;

    const qint64 gesamtExponent = mantisse.punktPosition + exponent;
    if (gesamtExponent > groessterExponent)
        throw Laufzeitfehler(fehler::Ueberlauf);
    if (gesamtExponent < kleinsterExponent)
        return 0.0;

    const std::string zahl = "0." + ziffern + 'e' + std::to_string(gesamtExponent);
    double wert = 0.0;
    const auto [ende, fehlercode] =
        std::from_chars(zahl.data(), zahl.data() + zahl.size(), wert, std::chars_format::general);
    Q_UNUSED(ende);
    if (fehlercode == std::errc::result_out_of_range) {
        // from_chars reports both ends of the range alike; the exponent tells them apart.
        if (gesamtExponent > 0)
            throw Laufzeitfehler(fehler::Ueberlauf);
        return 0.0;
    }
    if (fehlercode != std::errc() || !std::isfinite(wert))
        throw Laufzeitfehler(fehler::Ueberlauf);
    return negativ ? -wert : wert;
}

} // namespace

QString KommaZuPunkt(const QString &text)
{
    QString ergebnis = text;
    ergebnis.replace(u',', u'.');
    return ergebnis;
}

double TextZuZahl(const QString &text)
{
    Leser leser(text);
    if (leser.zeichen() == u'&') {
        leser.weiter();
        const QChar praefix = leser.zeichen();
        if (praefix == u'H' || praefix == u'h') {
            leser.weiter();
            return leseGanzzahlMitBasis(leser, 16);
        }
        if (praefix == u'O' || praefix == u'o') {
            leser.weiter();
            return leseGanzzahlMitBasis(leser, 8);
        }
        return 0.0;
    }
    return leseDezimalzahl(leser);
}

QStringList FrequenzListe(const QString &text)
{
    return text.split(u'/', Qt::KeepEmptyParts);
}

float zuSingle(double wert)
{
    if (std::isnan(wert))
        throw Laufzeitfehler(fehler::Ueberlauf);
    const float ergebnis = static_cast<float>(wert);
    if (std::isinf(ergebnis))
        throw Laufzeitfehler(fehler::Ueberlauf);
    return ergebnis;
}

qint16 rundeInt16(double wert)
{
    const double gerundet = std::nearbyint(wert);
    if (!(gerundet >= -32768.0 && gerundet <= 32767.0))
        throw Laufzeitfehler(fehler::Ueberlauf);
    return static_cast<qint16>(gerundet);
}

qint32 rundeInt32(double wert)
{
    const double gerundet = std::nearbyint(wert);
    if (!(gerundet >= -2147483648.0 && gerundet <= 2147483647.0))
        throw Laufzeitfehler(fehler::Ueberlauf);
    return static_cast<qint32>(gerundet);
}

void LaengenVielfache(qint32 n, float viertelWelle, float vk, std::vector<float> &ungerade,
                      std::vector<float> &gerade)
{
    if (n < 1)
        return;
    // Checked before the first store, so a short list is never half filled.
    const auto benoetigt = std::size_t(n) + 1;
    if (ungerade.size() < benoetigt || gerade.size() < benoetigt)
        throw Laufzeitfehler(fehler::Index);
    for (qint32 k = 1; k <= n; ++k) {
        const float v = zuSingle((double(k) * double(viertelWelle)) * double(vk));
        if (k % 2 != 0)
            ungerade[std::size_t(k)] = v;
        else
            gerade[std::size_t(k)] = v;
    }
}

} // namespace varo
