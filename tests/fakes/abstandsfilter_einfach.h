#pragma once

// The plain distance filter of the multi-frequency calculation: every
// candidate against every unfavourable length. Tests and the benchmark keep
// it as the reference the program's sorted filter must equal.

#include "konvertierung.h"

#include <vector>

namespace varo {

inline void abstandsfilterEinfach(std::vector<float> &kandidaten,
                                  const std::vector<float> &unguenstig, float w)
{
    for (float &x : kandidaten) {
        for (const float y : unguenstig) {
            const float unten = zuSingle(static_cast<double>(y) - w);
            const float oben = zuSingle(static_cast<double>(y) + w);
            if (x > 0.0F && y > 0.0F && x >= unten && x <= oben)
                x = 0.0F;
        }
    }
}

} // namespace varo
