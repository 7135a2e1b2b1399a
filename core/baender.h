#pragma once

#include <QList>
#include <QString>
#include <QStringList>

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

// Path of Baender.txt beside the program.
QString baenderPfad();

} // namespace varo
