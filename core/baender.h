#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

namespace varo {

// One amateur band of the band list: its name ("40m") and its edges in MHz.
struct Band
{
    QString name;
    double vonMHz = 0.0;
    double bisMHz = 0.0;
};

// The bands of the band list at pfad, in file order. A line is a name and
// two edges separated by blanks or tabs; the edges may have a decimal comma
// or point, and the lower one must lie above 0 and below the upper one.
// Bad lines are skipped. grund, when given, receives a German sentence on
// the first problem (the file cannot be read, or a line is bad) and stays
// empty when there was none.
QList<Band> baenderLaden(const QString &pfad, QString *grund = nullptr);

// The bands of a band list's lines; the same rules as baenderLaden.
QList<Band> baenderLesen(const QStringList &zeilen, QString *grund = nullptr);

// A number of the band list or a typed range: decimal comma or point, no
// thousands separator, nothing else around it. ok is false when the text is
// no finite number.
double baenderZahl(const QString &text, bool *ok);

// A number as the windows show band edges and their own fields: all the
// digits it has up to seven significant ones, the locale's decimal
// separator, no thousands separator ("5,3515", "14", "0,66").
QString baenderZahlText(double wert, const QLocale &locale);

// The number of a window's field, read by baenderZahl; on an empty field or
// one that is no number as a whole, meldung receives "Im Feld „name“ steht
// keine Zahl." and the result is empty.
std::optional<double> feldZahl(const QString &text, const QString &name, QString &meldung);

// Path of Baender.txt beside the program.
QString baenderPfad();

} // namespace varo
