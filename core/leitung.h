#pragma once

namespace varo {

// Lossless line of electrical length ElLaenge (m) at free-space wavelength
// Wellenlaenge (m), line impedance Z0 = ZKabel and resistive load
// ZL = ZLast (0 means 50 and 100 Ω). With
//   θ = ElLaenge / Wellenlaenge · 360° · (π / 180°),  t = tan θ,
// it writes the magnitude of the impedance at the near end,
//   |Zin| = ZL · √(1 + (Z0 / ZL · t)²) / √(1 + (ZL / Z0 · t)²),
// to ZAusgang and returns the matching factor
//   m = √(|Zin| / ZL), or 1 / m where that is above 1,
// in (0, 1]: 1 where the line repeats the load (θ a multiple of 180°), least
// at an odd quarter wave. Despite the name it is no standing-wave ratio.
// π is kPiBerichte. Arithmetic faults throw Laufzeitfehler (11 for a
// division by zero, 6 otherwise); a fault before the output step leaves
// ZAusgang untouched.
float LeitungSWR(const float &ElLaenge, const float &Wellenlaenge, const float &ZKabel,
                 const float &ZLast, float &ZAusgang);

} // namespace varo
