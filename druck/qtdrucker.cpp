#include "qtdrucker.h"

#include "druckfassung.h"
#include "warteschlange.h"

#include "laufzeitfehler.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

namespace varo {

namespace {

constexpr double twipsProZoll = 1440.0;

[[noreturn]] void eigenschaftFehlt()
{
    throw Laufzeitfehler(fehler::DruckerEigenschaft);
}

// Twips per unit; pixels depend on the device and are handled apart.
double twipsProEinheit(Masseinheit einheit)
{
    switch (einheit) {
    case Masseinheit::Twips:
    case Masseinheit::Pixel:
        return 1.0;
    case Masseinheit::Punkt:
        return 20.0;
    case Masseinheit::Zoll:
        return twipsProZoll;
    case Masseinheit::Millimeter:
        return twipsProZoll / 25.4;
    case Masseinheit::Zentimeter:
        return twipsProZoll / 2.54;
    }
    eigenschaftFehlt();
}

struct Papier
{
    Papierformat format;
    QPageSize::PageSizeId id;
};
constexpr Papier papiere[] = {
    {Papierformat::A3, QPageSize::A3},
    {Papierformat::A4, QPageSize::A4},
    {Papierformat::A5, QPageSize::A5},
    {Papierformat::B5, QPageSize::B5},
    {Papierformat::Letter, QPageSize::Letter},
    {Papierformat::Legal, QPageSize::Legal},
    {Papierformat::Executive, QPageSize::ExecutiveStandard},
};

struct Fach
{
    Papierfach fach;
    QPrinter::PaperSource quelle;
};
constexpr Fach faecher[] = {
    {Papierfach::Automatisch, QPrinter::Auto},
    {Papierfach::Oben, QPrinter::Upper},
    {Papierfach::Mitte, QPrinter::Middle},
    {Papierfach::Unten, QPrinter::Lower},
    {Papierfach::Manuell, QPrinter::Manual},
    {Papierfach::Umschlag, QPrinter::Envelope},
    {Papierfach::UmschlagManuell, QPrinter::EnvelopeManual},
    {Papierfach::Traktor, QPrinter::Tractor},
    {Papierfach::Kleinformat, QPrinter::SmallFormat},
    {Papierfach::Grossformat, QPrinter::LargeFormat},
    {Papierfach::Grossraum, QPrinter::LargeCapacity},
    {Papierfach::Kassette, QPrinter::Cassette},
    {Papierfach::Formular, QPrinter::FormSource},
};

// The paper copy is laid out in pixels of 96 dpi.
constexpr double layoutDpi = 96.0;
constexpr double layoutPixelJeMm = layoutDpi / 25.4;

// Margins of a printed report in millimetres: 2.5 mm top and bottom, as the
// page length allows for; a printer that cannot print that close to the
// edge keeps its own margin.
QMarginsF druckraender(const QPageLayout &layout)
{
    QPageLayout mm = layout;
    mm.setUnits(QPageLayout::Millimeter);
    const QMarginsF min = mm.minimumMargins();
    return {std::max(10.0, min.left()), std::max(2.5, min.top()), std::max(10.0, min.right()),
            std::max(2.5, min.bottom())};
}

// Report lines are kept whole up to this width (a little more than an A4
// line, which holds the 81 characters of a report line); longer paragraphs
// of other documents wrap there.
constexpr double hoechsteZeilenbreiteMm = 200.0;

// The tallest page of the paper copy, in a layout without pages: from the
// top of a page's first line to the top of the next "Seite" label, the last
// page to the end. The tops count, not the blocks' own rectangles, which
// leave out what a fixed line height adds below the text.
double hoechsteSeite(QTextDocument &kopie)
{
    QAbstractTextDocumentLayout *layout = kopie.documentLayout();
    double anfang = 0;
    double hoechste = 0;
    for (QTextBlock block = kopie.begin(); block.isValid(); block = block.next()) {
        if (!(block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
            continue;
        const double oben = layout->blockBoundingRect(block).top();
        hoechste = std::max(hoechste, oben - anfang);
        anfang = oben;
    }
    return std::max(hoechste, layout->documentSize().height() - anfang);
}

// The printable area is the paper less the margins the printer cannot print
// on, as the queue reports them. The margins a printout sets do not count:
// the page length must come out the same before and after printing.
QSizeF bedruckbarMm(const QPageLayout &layout)
{
    QPageLayout mm = layout;
    mm.setUnits(QPageLayout::Millimeter);
    const QRectF voll = mm.fullRect();
    const QMarginsF rand = mm.minimumMargins();
    return {std::max(0.0, voll.width() - rand.left() - rand.right()),
            std::max(0.0, voll.height() - rand.top() - rand.bottom())};
}

// Puts the printer's page layout back when printing is over, whichever way:
// the page length of the next report is measured on that printer.
class LayoutZurueck
{
public:
    explicit LayoutZurueck(QPrinter &printer) : m_printer(printer), m_layout(printer.pageLayout())
    {
    }
    ~LayoutZurueck() { m_printer.setPageLayout(m_layout); }
    LayoutZurueck(const LayoutZurueck &) = delete;
    LayoutZurueck &operator=(const LayoutZurueck &) = delete;

private:
    QPrinter &m_printer;
    QPageLayout m_layout;
};

} // namespace

QtDrucker::QtDrucker() : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    // Qt falls back to its PDF engine when there is no printer at all; that
    // fallback must not be taken for a printer.
    m_systemHatDrucker =
        !QPrinterInfo::availablePrinters().isEmpty() && !QPrinterInfo::defaultPrinter().isNull();
    if (m_systemHatDrucker) {
        aufStandarddruckerSetzen();
        // Qt starts on its own default paper, not the queue's.
        warteschlangenpapierNehmen();
    }
    m_schrift.setPointSizeF(10.0);
    m_pruefung = [this] { return letzterAuftragAbgelehnt(m_printer->printerName()); };
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

void QtDrucker::auffrischen()
{
    if (m_pdf)
        return;
    m_systemHatDrucker =
        !QPrinterInfo::availablePrinters().isEmpty() && !QPrinterInfo::defaultPrinter().isNull();
    if (!m_systemHatDrucker)
        return;
    if (m_printer->outputFormat() == QPrinter::NativeFormat && m_printer->isValid() &&
        !QPrinterInfo::printerInfo(m_printer->printerName()).isNull())
        return;
    // Without a printer Qt turned this one into a PDF writer, or its queue
    // is gone: back onto a queue, on the paper chosen so far.
    const QPageLayout layout = m_printer->pageLayout();
    m_printer->setOutputFormat(QPrinter::NativeFormat);
    aufStandarddruckerSetzen();
    m_printer->setPageLayout(layout);
}

QString QtDrucker::dokumentname(const QTextDocument &dokument)
{
    // A report's first line is its title.
    const QString titel = dokument.begin().text().simplified();
    if (titel.isEmpty())
        return QStringLiteral("Varolinaten-Berechnung");
    return titel.left(80);
}

void QtDrucker::aufStandarddruckerSetzen()
{
    if (!m_gewaehlt.isEmpty() && !QPrinterInfo::printerInfo(m_gewaehlt).isNull()) {
        aufWarteschlangeSetzen(m_gewaehlt);
        return;
    }
    const QPrinterInfo standard = QPrinterInfo::defaultPrinter();
    if (!standard.isNull())
        aufWarteschlangeSetzen(standard.printerName());
}

void QtDrucker::aufWarteschlangeSetzen(const QString &name)
{
    if (name == m_printer->printerName())
        return;
    // Qt keeps the paper of the queue before; another queue brings its
    // own default paper, in the orientation chosen so far.
    m_printer->setPrinterName(name);
    warteschlangenpapierNehmen();
}

void QtDrucker::warteschlangenpapierNehmen()
{
    const QPageSize papier = QPrinterInfo::printerInfo(m_printer->printerName()).defaultPageSize();
    if (papier.isValid())
        m_printer->setPageSize(papier);
}

void QtDrucker::auftragBeginnen(QPainter &maler)
{
    if (!maler.begin(m_printer.get()))
        throw Laufzeitfehler(fehler::Druckerfehler);
    // Qt's PDF engine keeps the world transform of the job before until
    // the painter marks its own as changed: a report's scale would
    // magnify a picture printed after it.
    maler.setWorldTransform(QTransform());
}

void QtDrucker::auftragBeenden(QPainter &maler)
{
    if (!maler.end() || m_printer->printerState() == QPrinter::Error)
        throw Laufzeitfehler(fehler::Druckerfehler);
    const QString grund = m_pruefung ? m_pruefung() : QString();
    if (!grund.isEmpty())
        throw Laufzeitfehler(fehler::Druckerfehler, grund);
}

QString QtDrucker::geraetename() const
{
    pruefen();
    return m_pdf ? m_printer->outputFileName() : m_printer->printerName();
}

void QtDrucker::setStandardFolgen(bool folgen)
{
    if (folgen)
        auffrischen();
    pruefen();
    if (folgen && !m_pdf)
        aufStandarddruckerSetzen();
}

void QtDrucker::setMasseinheit(Masseinheit einheit)
{
    pruefen();
    twipsProEinheit(einheit); // refuses what is not a unit
    m_einheit = einheit;
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

Seitenlage QtDrucker::seitenlage() const
{
    pruefen();
    return m_printer->pageLayout().orientation() == QPageLayout::Landscape ? Seitenlage::Querformat
                                                                           : Seitenlage::Hochformat;
}

void QtDrucker::setSeitenlage(Seitenlage lage)
{
    pruefen();
    if (lage != Seitenlage::Hochformat && lage != Seitenlage::Querformat)
        eigenschaftFehlt();
    if (!m_printer->setPageOrientation(lage == Seitenlage::Querformat ? QPageLayout::Landscape
                                                                      : QPageLayout::Portrait))
        eigenschaftFehlt();
}

Papierformat QtDrucker::papierformat() const
{
    pruefen();
    const QPageSize::PageSizeId id = m_printer->pageLayout().pageSize().id();
    for (const Papier &p : papiere) {
        if (p.id == id)
            return p.format;
    }
    return Papierformat::Andere;
}

void QtDrucker::setPapierformat(Papierformat format)
{
    pruefen();
    for (const Papier &p : papiere) {
        if (p.format == format) {
            if (!m_printer->setPageSize(QPageSize(p.id)))
                eigenschaftFehlt();
            return;
        }
    }
    eigenschaftFehlt();
}

Papierfach QtDrucker::papierfach() const
{
    pruefen();
    const QPrinter::PaperSource quelle = m_printer->paperSource();
    for (const Fach &f : faecher) {
        if (f.quelle == quelle)
            return f.fach;
    }
    return Papierfach::Automatisch;
}

void QtDrucker::setPapierfach(Papierfach fach)
{
    pruefen();
    for (const Fach &f : faecher) {
        if (f.fach == fach) {
            m_printer->setPaperSource(f.quelle);
            return;
        }
    }
    eigenschaftFehlt();
}

int QtDrucker::seitenhoeheTwips() const
{
    pruefen();
    return qRound(bedruckbarMm(m_printer->pageLayout()).height() *
                  twipsProEinheit(Masseinheit::Millimeter));
}

int QtDrucker::seitenbreiteTwips() const
{
    pruefen();
    return qRound(bedruckbarMm(m_printer->pageLayout()).width() *
                  twipsProEinheit(Masseinheit::Millimeter));
}

double QtDrucker::textHoehe(const QString &text) const
{
    pruefen();
    const QFontMetricsF metrik(m_schrift, m_printer.get());
    // One line of text is as high as the font's line, whatever the text;
    // several lines count once each.
    const int zeilen = qMax<qsizetype>(1, text.count(QLatin1Char('\n')) + 1);
    const double pixel = metrik.height() * zeilen;
    if (m_einheit == Masseinheit::Pixel)
        return pixel;
    const int dpi = m_printer->logicalDpiY();
    if (dpi <= 0)
        throw Laufzeitfehler(fehler::DruckerInformation);
    return pixel / dpi * twipsProZoll / twipsProEinheit(m_einheit);
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
    m_printer->setDocName(QStringLiteral("Varolinaten-Berechnung"));
    QPainter maler;
    auftragBeginnen(maler);
    const QRect seite = m_printer->pageLayout().paintRectPixels(m_printer->resolution());
    const QSize groesse = bild.size().scaled(seite.size(), Qt::KeepAspectRatio);
    maler.setRenderHint(QPainter::SmoothPixmapTransform);
    maler.drawImage(QRect(QPoint(0, 0), groesse), bild);
    auftragBeenden(maler);
}

void QtDrucker::dokumentDrucken(const QTextDocument &dokument)
{
    pruefen();
    const LayoutZurueck zurueck(*m_printer);
    m_printer->setDocName(dokumentname(dokument));
    m_printer->setPageMargins(druckraender(m_printer->pageLayout()), QPageLayout::Millimeter);
    const QRectF flaeche = m_printer->pageLayout().paintRect(QPageLayout::Millimeter);
    const QSizeF blatt(flaeche.width() * layoutPixelJeMm, flaeche.height() * layoutPixelJeMm);
    if (blatt.isEmpty())
        throw Laufzeitfehler(fehler::DruckerEigenschaft);

    // Reports break their pages at their own "Seite" labels. Each page of the
    // report becomes one sheet: on paper smaller than the one the report was
    // paged for, the pages are scaled down to fit, so no line is cut and
    // every sheet starts where a page of the report starts.
    const std::unique_ptr<QTextDocument> kopie = druckfassung(dokument);
    kopie->setDocumentMargin(0);
    QTextOption umbruch = kopie->defaultTextOption();
    umbruch.setWrapMode(QTextOption::NoWrap);
    kopie->setDefaultTextOption(umbruch);
    // Measured in one long run without pages first.
    kopie->setTextWidth(blatt.width());
    const double breite = kopie->idealWidth();
    if (breite > std::max(blatt.width(), hoechsteZeilenbreiteMm * layoutPixelJeMm)) {
        // Wider than any report line: text to wrap rather than to shrink.
        umbruch.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        kopie->setDefaultTextOption(umbruch);
        kopie->setTextWidth(std::max(blatt.width(), hoechsteZeilenbreiteMm * layoutPixelJeMm));
    }
    // One pixel to spare, so rounding never pushes a last line onto a page
    // of its own.
    const double massstab = std::min({1.0, blatt.width() / std::max(kopie->idealWidth(), 1.0),
                                      blatt.height() / (hoechsteSeite(*kopie) + 1.0)});
    const QSizeF seite(blatt.width() / massstab, blatt.height() / massstab);
    kopie->setPageSize(seite);

    QPainter maler;
    auftragBeginnen(maler);
    maler.scale(m_printer->logicalDpiX() / layoutDpi * massstab,
                m_printer->logicalDpiY() / layoutDpi * massstab);
    const int seiten = kopie->pageCount();
    for (int i = 0; i < seiten; ++i) {
        if (i > 0 && !m_printer->newPage())
            throw Laufzeitfehler(fehler::Druckerfehler);
        maler.save();
        const QRectF ausschnitt(0, i * seite.height(), seite.width(), seite.height());
        maler.translate(0, -ausschnitt.top());
        // A line that ends exactly at the page's top edge belongs to the
        // page before; drawn again here, clipped, its text would still be
        // in the output.
        kopie->drawContents(&maler, ausschnitt.adjusted(0, 0.5, 0, -0.5));
        maler.restore();
    }
    auftragBeenden(maler);
}

} // namespace varo
