#pragma once

#include "hilfe.h"

#include <QString>

namespace varo {

// "Eigene Kabeltabelle bearbeiten …": creates the user's own cable table at
// pfad with a commented head when it is missing, then opens it with the
// program the desktop associates with it. A table that cannot be created or
// a desktop without such a program is told in German, naming the path.
void eigeneKabeltabelleBearbeiten(const QString &pfad, Oberflaeche &ui, Plattform &plattform);

} // namespace varo
