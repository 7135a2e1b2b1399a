#pragma once

// An independent reference for the line model: a line built from lumped
// R, L, G, C sections and carried to the limit, shared by the tests of the
// line analysis and of the measured antennas.

#include "leitungsanalyse.h"

#include <array>
#include <cmath>

namespace varo::pruefung {

using Matrix = std::array<Komplex, 4>; // a11, a12, a21, a22

// A line built from 2^k equal T sections of lumped R, L, G, C: each is
// series ½Z, shunt Y, series ½Z. The chain matrix is kept as I + D so that
// the tiny section terms keep their digits; squaring gives I + (2D + D²).
inline Matrix kaskade(double R, double L, double G, double C, double omega, double laenge, int k)
{
    const double dz = laenge / std::ldexp(1.0, k);
    const Komplex z = Komplex(R, omega * L) * dz;
    const Komplex y = Komplex(G, omega * C) * dz;
    Matrix d{z * y / 2.0, z * (1.0 + z * y / 4.0), y, z * y / 2.0};
    for (int i = 0; i < k; ++i) {
        const Matrix q{d[0] * d[0] + d[1] * d[2], d[0] * d[1] + d[1] * d[3],
                       d[2] * d[0] + d[3] * d[2], d[2] * d[1] + d[3] * d[3]};
        for (int j = 0; j < 4; ++j)
            d[j] = 2.0 * d[j] + q[j];
    }
    return d;
}

struct Kaskadenwerte
{
    Komplex Zin;
    double verlust = 0.0;
};

inline Kaskadenwerte kaskadenwerte(const Matrix &d, Komplex ZL)
{
    // I = 1 A at the load.
    const Komplex v = (1.0 + d[0]) * ZL + d[1];
    const Komplex i = d[2] * ZL + (1.0 + d[3]);
    return {v / i, 10.0 * std::log10((v * std::conj(i)).real() / ZL.real())};
}

// The cascade's error runs in even powers of the section length; two
// Richardson steps over 2^k, 2^(k+1) and 2^(k+2) sections remove the first two.
template <typename T> T richardson(const T &grob, const T &mittel, const T &fein)
{
    const T a = (4.0 * mittel - grob) / 3.0;
    const T b = (4.0 * fein - mittel) / 3.0;
    return (16.0 * b - a) / 15.0;
}

} // namespace varo::pruefung
