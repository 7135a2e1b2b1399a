#pragma once

#include <QLocale>
#include <QString>

namespace varo {

// The input dialog's proposals, kept apart from the widgets so they can
// be checked without a window.

// Reference length at activation: the first multiple of the first
// frequency's wavelength that reaches 10 m, or ten wavelengths. An empty
// entry, a first frequency that is not above 0 (a leading "/") or one that
// cannot be held as a single gives 10 m.
float referenzLaenge(const QString &frequenzText);

// The length field's text at activation: the remembered length when it is
// positive and at least the reference length, otherwise the reference
// length, both as whole metres.
QString laengeBeiAktivierung(const QString &frequenzText, float kabelLaenge, const QLocale &locale);

// The length proposed on leaving the frequency field: just above half the
// wavelength of the lowest frequency, or just above ten wavelengths when
// half a wavelength is 10 m or less. Empty when there is nothing sensible
// to propose (a frequency of 0, an empty piece, a number too large).
QString laengenVorschlag(const QString &frequenzText, const QLocale &locale);

} // namespace varo
