#pragma once

#include <QString>

namespace varo {

enum class Symbol { Keins, Stopp, Frage, Ausrufezeichen, Information };
enum class Knoepfe { Ok, OkAbbrechen, AbbrechenWiederholenIgnorieren };
enum class Antwort { Ok, Abbrechen, Abbruch, Wiederholen, Ignorieren };

// What the core needs of the user interface. The GUI implements it with
// widgets, the report tool with stderr, the tests with a recording fake.
class Oberflaeche
{
public:
    virtual ~Oberflaeche() = default;

    virtual void piep() = 0;
    virtual Antwort meldung(const QString &text, const QString &titel, Symbol symbol,
                            Knoepfe knoepfe) = 0;
    virtual void sanduhr() = 0;        // busy mouse pointer
    virtual void normalerZeiger() = 0; // normal mouse pointer
    virtual void ereignisseVerarbeiten() = 0;
    virtual void eingabedialogVerbergen() = 0;
    virtual void hauptfensterZeigen() = 0;
};

} // namespace varo
