#pragma once

// The texts of a line analysis, as typed into the window or given to the
// report tool, read into a request the model can compute.

#include "leitungsanalyse.h"

#include <QString>

#include <optional>

namespace varo {

struct LeitungsTexte
{
    QString von, bis;  // MHz
    QString kabelZ;    // Ω
    QString vk;        // velocity factor
    QString daempfung; // points "f/a;f/a", with or without "d=", empty for none
    QString laenge;    // m
    QString lastR, lastX;
    bool verluste = true;
};

struct Leitungsanfrage
{
    Leitungseingabe eingabe;
    double vonMHz = 0.0;
    double bisMHz = 0.0;
};

// Reads and checks the texts; on a fault meldung gets a German sentence
// naming the field, and the result is empty.
std::optional<Leitungsanfrage> leitungsanfrageLesen(const LeitungsTexte &texte, QString &meldung);

// Values far beyond any real line can leave the range of the arithmetic;
// a German sentence when a result is not a finite number, else empty.
QString leitungsverlaufPruefen(const QList<Leitungswerte> &werte);

} // namespace varo
