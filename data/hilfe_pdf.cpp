// Build-time tool: turns the help source (HTML) into Varolinaten.pdf.
//
//   varolinaten_hilfe_pdf EINGABE.html AUSGABE.pdf [VERSION]
//
// "@VERSION@" in the source is replaced by VERSION. The tool needs no
// display; it always runs on the offscreen platform.

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QUrl>
#include <cstdio>

namespace {

int fehler(const QString &text)
{
    std::fprintf(stderr, "varolinaten_hilfe_pdf: %s\n", qPrintable(text));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // A build machine has no display; the PDF needs none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList argumente = app.arguments();
    if (argumente.size() < 3 || argumente.size() > 4)
        return fehler(QStringLiteral("Aufruf: varolinaten_hilfe_pdf EINGABE.html AUSGABE.pdf "
                                     "[VERSION]"));
    const QString &eingabe = argumente.at(1);
    const QString &ausgabe = argumente.at(2);
    const QString version = argumente.size() > 3 ? argumente.at(3) : QString();

    QFile quelle(eingabe);
    if (!quelle.open(QIODevice::ReadOnly))
        return fehler(QStringLiteral("%1: %2").arg(eingabe, quelle.errorString()));
    QString html = QString::fromUtf8(quelle.readAll());
    html.replace(QLatin1String("@VERSION@"), version);

    QTextDocument dokument;
    QFont schrift;
    schrift.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                         QStringLiteral("DejaVu Sans")});
    schrift.setPointSizeF(10);
    dokument.setDefaultFont(schrift);
    dokument.setMetaInformation(
        QTextDocument::DocumentUrl,
        QUrl::fromLocalFile(QFileInfo(eingabe).absoluteFilePath()).toString());
    dokument.setHtml(html);
    const QString titel = dokument.metaInformation(QTextDocument::DocumentTitle);

    QSaveFile ziel(ausgabe);
    if (!ziel.open(QIODevice::WriteOnly))
        return fehler(QStringLiteral("%1: %2").arg(ausgabe, ziel.errorString()));
    {
        QPdfWriter pdf(&ziel);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Portrait);
        pdf.setResolution(300);
        pdf.setTitle(titel.isEmpty() ? QStringLiteral("Varolinaten – Hilfe") : titel);
        pdf.setCreator(QStringLiteral("Varolinaten %1").arg(version).trimmed());
        // Breaks the document into A4 pages with margins and page numbers.
        dokument.print(&pdf);
    }
    if (!ziel.commit())
        return fehler(QStringLiteral("%1: %2").arg(ausgabe, ziel.errorString()));
    return 0;
}
