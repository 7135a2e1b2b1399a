#pragma once

namespace varo {

class Berichtsfeld;

enum class Formatvorlage { Standard, Listing, Text };

// Reformat the whole report with one template and leave the caret at 0.
void formatvorlageAnwenden(Berichtsfeld &feld, Formatvorlage vorlage);

} // namespace varo
