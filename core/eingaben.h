#pragma once

// The input steps the three text calculations share: each reads one field
// of the request the way every calculation reads it and throws an
// Eingabeablehnung (error 11 with its reason) for a value the calculations
// refuse, which the step runner answers with two beeps.

#include <QString>

namespace varo::eingabe {

// A frequency in MHz from a typed text ("," or "."); below 0.01 MHz refused.
float frequenz(const QString &text);

// The velocity factor at the start of the cable field; refused outside (0, 1].
float verkuerzungsfaktor(const QString &kabelText);

// A length in metres, as typed.
float laenge(const QString &text);

// The tolerance in percent (refused outside 0 … 100) and the matching
// factor a length must reach: (100 − tolerance + 0.001) / 100, at most 1.
struct Toleranz
{
    float prozent = 0.0F;
    float schwelle = 0.0F;
};
Toleranz toleranz(const QString &text);

// " (name)" for the report header, or nothing when the name is empty or
// reads as a number.
QString kabelzusatz(const QString &name);

} // namespace varo::eingabe
