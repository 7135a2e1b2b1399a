#pragma once

namespace varo {

// Lossless line of electrical length ElLaenge (m) at free-space wavelength
// Wellenlaenge (m), line impedance ZKabel and resistive load ZLast (0 means
// 50 and 100 Ω). Writes the magnitude of the impedance at the near end to
// ZAusgang and returns the matching factor in (0, 1]. Arithmetic faults
// throw Laufzeitfehler (11 for a division by zero, 6 otherwise); a fault
// before the output step leaves ZAusgang untouched.
float LeitungSWR(const float &ElLaenge, const float &Wellenlaenge, const float &ZKabel,
                 const float &ZLast, float &ZAusgang);

} // namespace varo
