#pragma once

// The report tool's help, each mode's section in turn.

#include <QString>

namespace varo::cli {

// The whole help; "%1" stands where the cable measurement's section goes.
QString hilfetext();

} // namespace varo::cli
