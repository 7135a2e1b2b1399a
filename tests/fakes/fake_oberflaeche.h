#pragma once

#include "oberflaeche.h"

#include <QList>
#include <QString>
#include <QStringList>

// Records what the core asks of the user interface and answers message
// boxes from a queue (Ok/Abbruch when the queue is empty).
class FakeOberflaeche : public varo::Oberflaeche
{
public:
    struct Meldung
    {
        QString text;
        QString titel;
        varo::Symbol symbol;
        varo::Knoepfe knoepfe;
    };

    int pieps = 0;
    QList<Meldung> meldungen;
    QList<varo::Antwort> antworten;
    int sanduhren = 0;
    int normaleZeiger = 0;
    bool sanduhrAktiv = false;
    int ereignisse = 0;
    int dialogVerborgen = 0;
    int hauptfensterGezeigt = 0;
    QStringList protokoll; // "piep", "meldung:<titel>", "verbergen", "zeigen"

    void piep() override
    {
        ++pieps;
        protokoll << QStringLiteral("piep");
    }
    varo::Antwort meldung(const QString &text, const QString &titel, varo::Symbol symbol,
                          varo::Knoepfe knoepfe) override
    {
        meldungen.append({text, titel, symbol, knoepfe});
        protokoll << QStringLiteral("meldung:") + titel;
        if (!antworten.isEmpty())
            return antworten.takeFirst();
        return knoepfe == varo::Knoepfe::AbbrechenWiederholenIgnorieren ? varo::Antwort::Abbruch
                                                                        : varo::Antwort::Ok;
    }
    void sanduhr() override
    {
        ++sanduhren;
        sanduhrAktiv = true;
    }
    void normalerZeiger() override
    {
        ++normaleZeiger;
        sanduhrAktiv = false;
    }
    void ereignisseVerarbeiten() override { ++ereignisse; }
    void eingabedialogVerbergen() override
    {
        ++dialogVerborgen;
        protokoll << QStringLiteral("verbergen");
    }
    void hauptfensterZeigen() override
    {
        ++hauptfensterGezeigt;
        protokoll << QStringLiteral("zeigen");
    }
};
