#include "leitung.h"

#include "konstanten.h"
#include "konvertierung.h"
#include "laufzeitfehler.h"

#include <cmath>

namespace varo {

namespace {

// Every step is checked on its own: an infinity or NaN after any single
// operation is an overflow, even where a later step would bring the value
// back into range.
double geprueft(double wert)
{
    if (!std::isfinite(wert))
        throw Laufzeitfehler(fehler::Ueberlauf);
    return wert;
}

double teile(double zaehler, double nenner)
{
    if (nenner == 0.0) {
        // 0 / 0 is an invalid operation, reported like an overflow.
        throw Laufzeitfehler(zaehler == 0.0 || std::isnan(zaehler) ? fehler::Ueberlauf
                                                                   : fehler::DivisionDurchNull);
    }
    return geprueft(zaehler / nenner);
}

// √(1 + (a / b × t)²), in this order of operations.
double wurzelTerm(float a, float b, double t)
{
    const double quotient = teile(a, b);
    const double produkt = geprueft(quotient * t);
    const double quadrat = geprueft(produkt * produkt);
    return geprueft(std::sqrt(geprueft(1.0 + quadrat)));
}

} // namespace

float LeitungSWR(const float &ElLaenge, const float &Wellenlaenge, const float &ZKabel,
                 const float &ZLast, float &ZAusgang)
{
    // Length in wavelengths.
    const float r = zuSingle(teile(ElLaenge, Wellenlaenge));
    // Electrical angle: degrees first, then π / 180 as a factor of its own.
    const double radProGrad = teile(kPiBerichte, 180.0);
    const double theta = geprueft(geprueft(double(r) * 360.0) * radProGrad);
    const float zl = ZLast == 0.0f ? 100.0f : ZLast;
    const float z0 = ZKabel == 0.0f ? 50.0f : ZKabel;
    const double t = geprueft(std::tan(theta));

    const double s1 = wurzelTerm(z0, zl, t);
    const float p = zuSingle(geprueft(double(zl) * s1));
    const float s2 = zuSingle(wurzelTerm(zl, z0, t));

    // The caller sees the impedance even if the factor below fails.
    ZAusgang = zuSingle(teile(p, s2));

    float q = zuSingle(geprueft(std::sqrt(teile(ZAusgang, zl))));
    if (q > 1.0f)
        q = zuSingle(teile(1.0, q));
    return q;
}

} // namespace varo
