#pragma once

#include "drucker.h"
#include "laufzeitfehler.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QTextDocument>

// A printer whose answers the test sets. Any operation named in `fehlend`
// throws the printer error 482, so single failing steps can be provoked.
class FakeDrucker : public varo::Drucker
{
public:
    QString name = QStringLiteral("Testdrucker");
    varo::Masseinheit einheit = varo::Masseinheit::Twips;
    QString schrift;
    double groesse = 0;
    varo::Seitenlage lage = varo::Seitenlage::Hochformat;
    varo::Papierformat papier = varo::Papierformat::A4;
    varo::Papierfach fach = varo::Papierfach::Automatisch;
    int hoeheTwips = 16838;
    int breiteTwips = 11906;
    double zeilenhoehe = 4.0; // in the current unit
    bool folgen = false;
    QStringList fehlend;
    QList<varo::Seitenlage> seitenlagen; // every orientation set, in order
    int beendet = 0;
    QList<QImage> bilder;
    QStringList dokumente;

    QString geraetename() const override
    {
        pruefe("geraetename");
        return name;
    }
    void setStandardFolgen(bool f) override
    {
        pruefe("setStandardFolgen");
        folgen = f;
    }
    void setMasseinheit(varo::Masseinheit e) override
    {
        pruefe("setMasseinheit");
        einheit = e;
    }
    void setSchriftname(const QString &n) override
    {
        pruefe("setSchriftname");
        schrift = n;
    }
    void setSchriftgroesse(double p) override
    {
        pruefe("setSchriftgroesse");
        groesse = p;
    }
    varo::Seitenlage seitenlage() const override
    {
        pruefe("seitenlage");
        return lage;
    }
    void setSeitenlage(varo::Seitenlage l) override
    {
        pruefe("setSeitenlage");
        lage = l;
        seitenlagen << l;
    }
    varo::Papierformat papierformat() const override
    {
        pruefe("papierformat");
        return papier;
    }
    void setPapierformat(varo::Papierformat g) override
    {
        pruefe("setPapierformat");
        papier = g;
    }
    varo::Papierfach papierfach() const override
    {
        pruefe("papierfach");
        return fach;
    }
    void setPapierfach(varo::Papierfach f) override
    {
        pruefe("setPapierfach");
        fach = f;
    }
    int seitenhoeheTwips() const override
    {
        pruefe("seitenhoeheTwips");
        return hoeheTwips;
    }
    int seitenbreiteTwips() const override
    {
        pruefe("seitenbreiteTwips");
        return breiteTwips;
    }
    double textHoehe(const QString &) const override
    {
        pruefe("textHoehe");
        return zeilenhoehe;
    }
    void dokumentBeenden() override
    {
        pruefe("dokumentBeenden");
        ++beendet;
    }
    void bildDrucken(const QImage &bild) override
    {
        pruefe("bildDrucken");
        bilder << bild;
    }
    void dokumentDrucken(const QTextDocument &d) override
    {
        pruefe("dokumentDrucken");
        dokumente << d.toPlainText();
    }

private:
    void pruefe(const char *operation) const
    {
        if (fehlend.contains(QLatin1String(operation)))
            throw varo::Laufzeitfehler(varo::fehler::Druckerfehler);
    }
};
