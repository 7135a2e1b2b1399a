#pragma once

// Numbers for tables and files that other programs read: C form with a
// given count of significant digits, as std::to_chars writes it in general
// form, then the locale's separator and sign.

#include <QByteArray>
#include <QLocale>

#include <optional>

namespace varo {

// Writes numbers in C form with the given significant digits (as QLocale's
// 'g' does), then with the locale's separator and sign; immerPunkt adds
// ".0" to a number without separator. Fast enough for a million fields: the
// fixed form is written from the rounded digits directly, the rest and the
// rare cases whose rounding is too close to call in double by to_chars.
class Zahlschreiber
{
public:
    // Room one number may take at most.
    static constexpr int kPlatz = 64;

    Zahlschreiber(const QLocale &locale, int stellen, bool immerPunkt = false);
    void operator()(QByteArray &text, double wert) const;
    void operator()(QByteArray &text, std::optional<double> wert) const; // nothing when empty
    // Writes at ziel, which has room for kPlatz bytes; returns the end.
    char *operator()(char *ziel, double wert) const;

private:
    QByteArray m_punkt;
    QByteArray m_minus;
    int m_stellen;
    bool m_immerPunkt;
    bool m_einfach; // a one-byte separator and "-" as the sign
};

} // namespace varo
