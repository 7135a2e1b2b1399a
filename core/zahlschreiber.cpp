#include "zahlschreiber.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace varo {

namespace {

// Powers of ten from 10⁻⁵ to 10²², exact from 10⁰ on.
constexpr double kZehnerpotenz[] = {1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1e0,  1e1,  1e2,  1e3,  1e4,
                                    1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14,
                                    1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kZehnerNull = 5; // index of 10⁰

constexpr char kZiffernpaare[] =
    "00010203040506070809101112131415161718192021222324252627282930313233"
    "34353637383940414243444546474849505152535455565758596061626364656667"
    "6869707172737475767778798081828384858687888990919293949596979899";

// The decimal exponent of betrag's leading digit, betrag a normal number:
// ⌊e₂·log₁₀ 2⌋ from its binary exponent, then one step up where needed.
int dezimalexponent(double betrag)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &betrag, sizeof bits);
    const int e2 = int((bits >> 52) & 0x7ff) - 1023;
    int exponent = (e2 * 78913) >> 18; // 78913 / 2¹⁸ ≈ log₁₀ 2, rounding down
    if (betrag >= kZehnerpotenz[kZehnerNull + exponent + 1])
        ++exponent;
    return exponent;
}

// Writes the anzahl lowest decimal digits of n, leading zeros included, so
// that they end before ende.
void ziffernSchreiben(char *ende, std::uint32_t n, int anzahl)
{
    for (; anzahl >= 2; anzahl -= 2, n /= 100) {
        ende -= 2;
        std::memcpy(ende, kZiffernpaare + std::size_t{2} * (n % 100), 2);
    }
    if (anzahl == 1)
        ende[-1] = char('0' + n % 10);
}

// Writes wert as std::to_chars does in general form with the given
// significant digits, for a number that takes the fixed form there (a
// decimal exponent from −4 to stellen − 1 after rounding), with punkt as the
// separator and ".0" after a whole number when immerPunkt; nullptr for every
// other number and where the rounding is too close to call in double, which
// then takes to_chars's own path. wert·10^k with an exact power is rounded
// once, so its distance from a half is known within a unit of the last place.
char *festSchreiben(char *ziel, double wert, int stellen, char punkt, bool immerPunkt)
{
    const double betrag = std::abs(wert);
    if (stellen < 1 || stellen > 15 || !(betrag >= 1e-4) ||
        !(betrag < kZehnerpotenz[kZehnerNull + stellen]))
        return nullptr;
    const int exponent = dezimalexponent(betrag);
    const double skaliert = betrag * kZehnerpotenz[kZehnerNull + stellen - 1 - exponent];
    const double ganz = double(std::int64_t(skaliert)); // ⌊skaliert⌋, below 2⁵³
    const double rest = skaliert - ganz;
    if (std::abs(rest - 0.5) <= skaliert * 0x1p-50)
        return nullptr;
    auto n = std::uint64_t(ganz) + (rest > 0.5 ? 1 : 0);
    // The leading digit rounded into the next decade.
    if (n >= std::uint64_t(kZehnerpotenz[kZehnerNull + stellen]))
        return nullptr;
    // The digits with room behind them: every copy below moves 16 bytes.
    char folge[32] = {};
    if (stellen > 8) {
        ziffernSchreiben(folge + stellen, std::uint32_t(n % 100000000), 8);
        ziffernSchreiben(folge + stellen - 8, std::uint32_t(n / 100000000), stellen - 8);
    } else {
        ziffernSchreiben(folge + stellen, std::uint32_t(n), stellen);
    }
    int genutzt = stellen; // without trailing zeros
    while (genutzt > 1 && folge[genutzt - 1] == '0')
        --genutzt;
    if (wert < 0.0)
        *ziel++ = '-';
    if (exponent < 0) {
        // "0." and the zeros after the separator, −exponent − 1 of them.
        for (int k = 0; k < 5; ++k)
            ziel[k] = '0';
        ziel[1] = punkt;
        ziel += 1 - exponent;
        std::memcpy(ziel, folge, 16);
        return ziel + genutzt;
    }
    const int ganzeStellen = exponent + 1;
    std::memcpy(ziel, folge, 16);
    ziel += ganzeStellen;
    if (genutzt > ganzeStellen) {
        *ziel++ = punkt;
        std::memcpy(ziel, folge + ganzeStellen, 16);
        ziel += genutzt - ganzeStellen;
    } else if (immerPunkt) {
        *ziel++ = punkt;
        *ziel++ = '0';
    }
    return ziel;
}

} // namespace

Zahlschreiber::Zahlschreiber(const QLocale &locale, int stellen, bool immerPunkt)
    : m_punkt(locale.decimalPoint().toUtf8()), m_minus(locale.negativeSign().toUtf8()),
      m_stellen(stellen), m_immerPunkt(immerPunkt), m_einfach(m_punkt.size() == 1 && m_minus == "-")
{
}

char *Zahlschreiber::operator()(char *ziel, double wert) const
{
    if (m_einfach) {
        if (char *ende = festSchreiben(ziel, wert, m_stellen, m_punkt.at(0), m_immerPunkt))
            return ende;
    }
    char puffer[48];
    char *ende =
        std::to_chars(puffer, puffer + 40, wert, std::chars_format::general, m_stellen).ptr;
    char *punkt = std::find(puffer, ende, '.');
    if (punkt == ende && m_immerPunkt && std::isfinite(wert)) {
        // "7" and "1e+20" become "7.0" and "1.0e+20".
        punkt = std::find(puffer, ende, 'e');
        std::move_backward(punkt, ende, ende + 2);
        punkt[0] = '.';
        punkt[1] = '0';
        ende += 2;
    }
    const char *zeichen = puffer;
    if (*zeichen == '-') {
        ziel = std::copy(m_minus.cbegin(), m_minus.cend(), ziel);
        ++zeichen;
    }
    ziel = std::copy(zeichen, static_cast<const char *>(punkt), ziel);
    if (punkt != ende) {
        ziel = std::copy(m_punkt.cbegin(), m_punkt.cend(), ziel);
        ziel = std::copy(punkt + 1, ende, ziel);
    }
    return ziel;
}

void Zahlschreiber::operator()(QByteArray &text, double wert) const
{
    char puffer[kPlatz];
    text.append(puffer, (*this)(puffer, wert) - puffer);
}

void Zahlschreiber::operator()(QByteArray &text, std::optional<double> wert) const
{
    if (wert)
        (*this)(text, *wert);
}

} // namespace varo
