#pragma once

// The physical constants of the program, in one place. Every calculation
// reckons with c = 300 · 10⁶ m/s, so that λ = 300 / f (λ in m, f in MHz).

namespace varo {

// Speed of light, m/s.
inline constexpr double kLichtgeschwindigkeit = 300.0e6;

// c in metres times megahertz: exactly 300.
inline constexpr double kLichtgeschwindigkeitMMHz = kLichtgeschwindigkeit / 1.0e6;

// Free-space wavelength in metres at f MHz: λ = 300 / f.
inline constexpr double wellenlaenge(double fMHz)
{
    return kLichtgeschwindigkeitMMHz / fMHz;
}

// π, for the line analysis.
inline constexpr double kPi = 3.14159265358979323846;

// π to 15 significant digits, as every text report has been computed with
// (LeitungSWR); the more precise kPi would move those results in their last
// digits.
inline constexpr double kPiBerichte = 3.14159265358979;

} // namespace varo
