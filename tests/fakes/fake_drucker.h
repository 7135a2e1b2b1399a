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
    int skalierung = 1;
    QString schrift;
    double groesse = 0;
    int orient = 1;
    int papier = 9;
    int fach = 7;
    int hoeheTwips = 16838;
    int breiteTwips = 11906;
    double zeilenhoehe = 4.0; // in the current scale unit
    bool folgen = false;
    QStringList fehlend;
    QList<int> orientierungen; // every orientation set, in order
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
    void setSkalierung(int m) override
    {
        pruefe("setSkalierung");
        skalierung = m;
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
    int orientierung() const override
    {
        pruefe("orientierung");
        return orient;
    }
    void setOrientierung(int o) override
    {
        pruefe("setOrientierung");
        orient = o;
        orientierungen << o;
    }
    int papiergroesse() const override
    {
        pruefe("papiergroesse");
        return papier;
    }
    void setPapiergroesse(int g) override
    {
        pruefe("setPapiergroesse");
        papier = g;
    }
    int papierfach() const override
    {
        pruefe("papierfach");
        return fach;
    }
    void setPapierfach(int f) override
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
