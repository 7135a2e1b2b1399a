#pragma once

#include "ausgang.h"

#include <QString>
#include <exception>

namespace varo {

// The run-time errors of the program, with the numbers its messages have
// always shown.
namespace fehler {
inline constexpr int UnzulaessigerAufruf = 5;
inline constexpr int Ueberlauf = 6;
inline constexpr int Speicher = 7;
inline constexpr int Index = 9;
inline constexpr int DivisionDurchNull = 11;
inline constexpr int Typen = 13;
inline constexpr int Dateiname = 52;
inline constexpr int DateiNichtGefunden = 53;
inline constexpr int GeraetNichtVerfuegbar = 68;
inline constexpr int Pfadzugriff = 75;
inline constexpr int Druckerfehler = 482;
inline constexpr int DruckerEigenschaft = 483;
inline constexpr int DruckerInformation = 484;
inline constexpr int Abbruch = 32755;
} // namespace fehler

// One run-time error: its number and German description.
class Laufzeitfehler : public std::exception
{
public:
    explicit Laufzeitfehler(int nummer);
    Laufzeitfehler(int nummer, QString beschreibung);

    int nummer() const noexcept { return m_nummer; }
    const QString &beschreibung() const noexcept { return m_beschreibung; }
    const char *what() const noexcept override { return m_utf8.constData(); }

    // The standard German description of an error number.
    static QString beschreibungFuer(int nummer);

    // True for the printer errors that get the hint " ( Drucker ? )".
    bool istDruckerfehler() const noexcept;

private:
    int m_nummer;
    QString m_beschreibung;
    QByteArray m_utf8;
};

// An input the calculations refuse. Every handler that knows only numbers
// sees the division by zero the calculations have always raised for it (a
// calculation answers with two beeps); the step runner also reads the reason.
class Eingabeablehnung : public Laufzeitfehler
{
public:
    explicit Eingabeablehnung(Ablehnung grund)
        : Laufzeitfehler(fehler::DivisionDurchNull), m_grund(grund)
    {
    }

    Ablehnung grund() const noexcept { return m_grund; }

private:
    Ablehnung m_grund;
};

} // namespace varo
