#include "qtdrucker.h"

#include "druckfassung.h"

#include "laufzeitfehler.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>
#include <cmath>

namespace varo {

namespace {

constexpr double twipsProZoll = 1440.0;

// Twips per unit of the old scale modes: 1 twip, 2 point, 5 inch, 6 mm,
// 7 cm; 4 is a character cell, 240 twips high. Pixels (3) depend on the
// device and are handled apart; 0 (user scale) measures in twips.
double twipsProEinheit(int modus)
{
    switch (modus) {
    case 2:
        return 20.0;
    case 4:
        return 240.0;
    case 5:
        return twipsProZoll;
    case 6:
        return twipsProZoll / 25.4;
    case 7:
        return twipsProZoll / 2.54;
    default:
        return 1.0;
    }
}

// Paper bins by the numbers the program's callers use (7 = automatic).
struct Fach
{
    int nummer;
    QPrinter::PaperSource quelle;
};
constexpr Fach faecher[] = {
    {1, QPrinter::Upper},        {2, QPrinter::Lower},          {3, QPrinter::Middle},
    {4, QPrinter::Manual},       {5, QPrinter::Envelope},       {6, QPrinter::EnvelopeManual},
    {7, QPrinter::Auto},         {8, QPrinter::Tractor},        {9, QPrinter::SmallFormat},
    {10, QPrinter::LargeFormat}, {11, QPrinter::LargeCapacity}, {14, QPrinter::Cassette},
    {15, QPrinter::FormSource},
};

[[noreturn]] void eigenschaftFehlt()
{
    throw Laufzeitfehler(fehler::DruckerEigenschaft);
}

} // namespace

QtDrucker::QtDrucker() : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    // Qt falls back to its PDF engine when there is no printer at all; that
    // fallback must not be taken for a printer.
    m_systemHatDrucker =
        !QPrinterInfo::availablePrinters().isEmpty() && !QPrinterInfo::defaultPrinter().isNull();
    if (m_systemHatDrucker)
        aufStandarddruckerSetzen();
    m_schrift.setPointSizeF(10.0);
}

QtDrucker::QtDrucker(const QString &pdfDatei)
    : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)), m_pdf(true)
{
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setOutputFileName(pdfDatei);
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_schrift.setPointSizeF(10.0);
}

std::unique_ptr<QtDrucker> QtDrucker::fuerPdf(const QString &datei)
{
    return std::unique_ptr<QtDrucker>(new QtDrucker(datei));
}

QtDrucker::~QtDrucker() = default;

bool QtDrucker::vorhanden() const
{
    if (m_pdf)
        return true;
    return m_systemHatDrucker && m_printer->outputFormat() == QPrinter::NativeFormat &&
           !m_printer->printerName().isEmpty() && m_printer->isValid();
}

void QtDrucker::pruefen() const
{
    if (!vorhanden())
        throw Laufzeitfehler(fehler::DruckerInformation);
}

void QtDrucker::gewaehltenDruckerMerken()
{
    if (!m_pdf)
        m_gewaehlt = m_printer->printerName();
}

void QtDrucker::aufStandarddruckerSetzen()
{
    if (!m_gewaehlt.isEmpty() && !QPrinterInfo::printerInfo(m_gewaehlt).isNull()) {
        m_printer->setPrinterName(m_gewaehlt);
        return;
    }
    const QPrinterInfo standard = QPrinterInfo::defaultPrinter();
    if (!standard.isNull())
        m_printer->setPrinterName(standard.printerName());
}

QString QtDrucker::geraetename() const
{
    pruefen();
    return m_pdf ? m_printer->outputFileName() : m_printer->printerName();
}

void QtDrucker::setStandardFolgen(bool folgen)
{
    pruefen();
    if (folgen && !m_pdf)
        aufStandarddruckerSetzen();
}

void QtDrucker::setSkalierung(int modus)
{
    pruefen();
    if (modus < 0 || modus > 7)
        eigenschaftFehlt();
    m_skalierung = modus;
}

void QtDrucker::setSchriftname(const QString &name)
{
    pruefen();
    m_schrift.setFamily(name);
}

void QtDrucker::setSchriftgroesse(double punkte)
{
    pruefen();
    if (!(punkte > 0.0) || punkte > 2048.0)
        eigenschaftFehlt();
    m_schrift.setPointSizeF(punkte);
}

int QtDrucker::orientierung() const
{
    pruefen();
    return m_printer->pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
}

void QtDrucker::setOrientierung(int orientierung)
{
    pruefen();
    if (orientierung != 1 && orientierung != 2)
        eigenschaftFehlt();
    if (!m_printer->setPageOrientation(orientierung == 2 ? QPageLayout::Landscape
                                                         : QPageLayout::Portrait))
        eigenschaftFehlt();
}

int QtDrucker::papiergroesse() const
{
    pruefen();
    // The numbers the callers know (9 = A4) are the Windows paper ids, which
    // QPageSize knows as well; anything else counts as user-defined.
    const int id = m_printer->pageLayout().pageSize().windowsId();
    return id > 0 ? id : 256;
}

void QtDrucker::setPapiergroesse(int groesse)
{
    pruefen();
    const QPageSize::PageSizeId id = QPageSize::id(groesse);
    if (id == QPageSize::Custom || !m_printer->setPageSize(QPageSize(id)))
        eigenschaftFehlt();
}

int QtDrucker::papierfach() const
{
    pruefen();
    const QPrinter::PaperSource quelle = m_printer->paperSource();
    for (const Fach &f : faecher) {
        if (f.quelle == quelle)
            return f.nummer;
    }
    return 7;
}

void QtDrucker::setPapierfach(int fach)
{
    pruefen();
    for (const Fach &f : faecher) {
        if (f.nummer == fach) {
            m_printer->setPaperSource(f.quelle);
            return;
        }
    }
    eigenschaftFehlt();
}

int QtDrucker::seitenhoeheTwips() const
{
    pruefen();
    // A point is 20 twips.
    return qRound(m_printer->pageLayout().paintRect(QPageLayout::Point).height() * 20.0);
}

int QtDrucker::seitenbreiteTwips() const
{
    pruefen();
    return qRound(m_printer->pageLayout().paintRect(QPageLayout::Point).width() * 20.0);
}

double QtDrucker::textHoehe(const QString &text) const
{
    pruefen();
    const QFontMetricsF metrik(m_schrift, m_printer.get());
    // One line of text is as high as the font's line, whatever the text;
    // several lines count once each.
    const int zeilen = qMax<qsizetype>(1, text.count(QLatin1Char('\n')) + 1);
    const double pixel = metrik.height() * zeilen;
    if (m_skalierung == 3)
        return pixel;
    const int dpi = m_printer->logicalDpiY();
    if (dpi <= 0)
        throw Laufzeitfehler(fehler::DruckerInformation);
    return pixel / dpi * twipsProZoll / twipsProEinheit(m_skalierung);
}

void QtDrucker::dokumentBeenden()
{
    // Every print job below is finished when its painter ends, so nothing is
    // left waiting here; what remains is to report a missing printer.
    pruefen();
}

void QtDrucker::bildDrucken(const QImage &bild)
{
    pruefen();
    if (bild.isNull())
        throw Laufzeitfehler(fehler::UnzulaessigerAufruf);
    QPainter maler;
    if (!maler.begin(m_printer.get()))
        throw Laufzeitfehler(fehler::Druckerfehler);
    const QRect seite = m_printer->pageLayout().paintRectPixels(m_printer->resolution());
    const QSize groesse = bild.size().scaled(seite.size(), Qt::KeepAspectRatio);
    maler.setRenderHint(QPainter::SmoothPixmapTransform);
    maler.drawImage(QRect(QPoint(0, 0), groesse), bild);
    if (!maler.end() || m_printer->printerState() == QPrinter::Error)
        throw Laufzeitfehler(fehler::Druckerfehler);
}

void QtDrucker::dokumentDrucken(const QTextDocument &dokument)
{
    pruefen();
    // Reports break their pages at their own "Seite" labels.
    aufGeraetDrucken(dokument, *m_printer);
    if (m_printer->printerState() == QPrinter::Error)
        throw Laufzeitfehler(fehler::Druckerfehler);
}

} // namespace varo
