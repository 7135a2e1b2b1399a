#pragma once

// What the calculation tests share: the report's fixed texts and a
// calculation context over a real report box, without a printer or with a
// fake printer of a chosen page length.

#include "dokumentberichtsfeld.h"
#include "drucker.h"
#include "fake_drucker.h"
#include "fake_oberflaeche.h"
#include "rechnen.h"
#include "werte.h"

#include <QLocale>
#include <QString>

#include <cmath>
#include <memory>

inline const QString ZE = QStringLiteral("\r\n");
inline const QString TRENN = QStringLiteral(" ") + QString(80, QChar(0x2014)) + ZE;
inline const QString GRUSS =
    QStringLiteral(" Immer ein gutes Stehwellen-Verhältnis wünscht Ihnen Velmo");

struct Umgebung
{
    varo::Programmwerte werte;
    varo::DokumentBerichtsfeld feld;
    varo::KeinDrucker keiner;
    FakeDrucker fake;
    FakeOberflaeche ui;
    std::unique_ptr<varo::Rechenkontext> kontext;

    explicit Umgebung(const QLocale &locale, int seitenlaenge = 0)
    {
        varo::Drucker *d = &keiner;
        if (seitenlaenge > 0) {
            // 4 mm lines: the page height that gives exactly this many lines.
            fake.zeilenhoehe = 4.0;
            fake.hoeheTwips = int(std::lround((5 + 4 * seitenlaenge) * 56.7));
            d = &fake;
        }
        kontext.reset(new varo::Rechenkontext{werte, feld, *d, ui, locale});
        feld.setText(QStringLiteral("alter Bericht"));
    }
};
