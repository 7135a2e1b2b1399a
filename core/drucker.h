#pragma once

#include <QString>

class QImage;
class QTextDocument;

namespace varo {

// The unit the printer measures text heights in.
enum class Masseinheit { Twips, Punkt, Pixel, Zoll, Millimeter, Zentimeter };

enum class Seitenlage { Hochformat, Querformat };

// The papers the program names (B5 is the ISO size, Executive 7¼ × 10½ in).
// A printer set to any other paper reads as Andere; that value cannot be
// set, the printer keeps what it has.
enum class Papierformat { A3, A4, A5, B5, Letter, Legal, Executive, Andere };

// Where the printer takes its paper from.
enum class Papierfach {
    Automatisch,
    Oben,
    Mitte,
    Unten,
    Manuell,
    Umschlag,
    UmschlagManuell,
    Traktor,
    Kleinformat,
    Grossformat,
    Grossraum,
    Kassette,
    Formular,
};

// The printer operations the program relies on. An implementation throws
// Laufzeitfehler (482 to 484, or 68) from any operation the printer cannot
// carry out; with no printer installed every operation fails that way, so
// the callers' fallbacks apply.
class Drucker
{
public:
    virtual ~Drucker() = default;

    virtual QString geraetename() const = 0;
    virtual void setStandardFolgen(bool folgen) = 0; // follow the system default printer
    virtual void setMasseinheit(Masseinheit einheit) = 0;
    virtual void setSchriftname(const QString &name) = 0;
    virtual void setSchriftgroesse(double punkte) = 0;
    virtual Seitenlage seitenlage() const = 0;
    virtual void setSeitenlage(Seitenlage lage) = 0;
    virtual Papierformat papierformat() const = 0;
    virtual void setPapierformat(Papierformat format) = 0;
    virtual Papierfach papierfach() const = 0;
    virtual void setPapierfach(Papierfach fach) = 0;
    virtual int seitenhoeheTwips() const = 0; // printable height, 0 when unknown
    virtual int seitenbreiteTwips() const = 0;
    // Height of the text in the current font, in the current unit.
    virtual double textHoehe(const QString &text) const = 0;
    // Sends what was printed so far as a finished job.
    virtual void dokumentBeenden() = 0;
    // One page with the image scaled to fit.
    virtual void bildDrucken(const QImage &bild) = 0;
    // The document with its formatting, paged.
    virtual void dokumentDrucken(const QTextDocument &dokument) = 0;
};

// A printer that is not there: every operation fails with error 484.
class KeinDrucker : public Drucker
{
public:
    QString geraetename() const override;
    void setStandardFolgen(bool folgen) override;
    void setMasseinheit(Masseinheit einheit) override;
    void setSchriftname(const QString &name) override;
    void setSchriftgroesse(double punkte) override;
    Seitenlage seitenlage() const override;
    void setSeitenlage(Seitenlage lage) override;
    Papierformat papierformat() const override;
    void setPapierformat(Papierformat format) override;
    Papierfach papierfach() const override;
    void setPapierfach(Papierfach fach) override;
    int seitenhoeheTwips() const override;
    int seitenbreiteTwips() const override;
    double textHoehe(const QString &text) const override;
    void dokumentBeenden() override;
    void bildDrucken(const QImage &bild) override;
    void dokumentDrucken(const QTextDocument &dokument) override;
};

} // namespace varo
