#pragma once

#include <QString>

class QImage;
class QTextDocument;

namespace varo {

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
    virtual void setSkalierung(int modus) = 0;       // 6 = millimetres
    virtual void setSchriftname(const QString &name) = 0;
    virtual void setSchriftgroesse(double punkte) = 0;
    virtual int orientierung() const = 0; // 1 portrait, 2 landscape
    virtual void setOrientierung(int orientierung) = 0;
    virtual int papiergroesse() const = 0; // 9 = A4
    virtual void setPapiergroesse(int groesse) = 0;
    virtual int papierfach() const = 0; // 7 = automatic
    virtual void setPapierfach(int fach) = 0;
    virtual int seitenhoeheTwips() const = 0; // printable height, 0 when unknown
    virtual int seitenbreiteTwips() const = 0;
    // Height of the text in the current font, in the current scale unit.
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
    void setSkalierung(int modus) override;
    void setSchriftname(const QString &name) override;
    void setSchriftgroesse(double punkte) override;
    int orientierung() const override;
    void setOrientierung(int orientierung) override;
    int papiergroesse() const override;
    void setPapiergroesse(int groesse) override;
    int papierfach() const override;
    void setPapierfach(int fach) override;
    int seitenhoeheTwips() const override;
    int seitenbreiteTwips() const override;
    double textHoehe(const QString &text) const override;
    void dokumentBeenden() override;
    void bildDrucken(const QImage &bild) override;
    void dokumentDrucken(const QTextDocument &dokument) override;
};

} // namespace varo
