// Build-time tool: turns the help source (HTML) into Varolinaten.pdf.
//
//   varolinaten_hilfe_pdf EINGABE.html AUSGABE.pdf VERSION BERICHTWERKZEUG KABELTABELLE
//                         [AUSGABE.html]
//
// "@VERSION@" in the source is replaced by VERSION. Each "@BERICHT args@"
// is replaced by the report that BERICHTWERKZEUG writes for these
// arguments with the cable table KABELTABELLE, in German, so the examples
// of the help are the program's own and cannot drift from it. The filled
// HTML is written to AUSGABE.html when given. The tool needs no display;
// it always runs on the offscreen platform.

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextDocument>
#include <QUrl>
#include <cstdio>
#include <optional>

namespace {

int fehler(const QString &text)
{
    std::fprintf(stderr, "varolinaten_hilfe_pdf: %s\n", qPrintable(text));
    return 1;
}

// The report the tool writes for these arguments, as plain text with
// line feeds, or an empty optional with the reason in fehlertext.
std::optional<QString> bericht(const QString &werkzeug, const QString &kabeltabelle,
                               const QString &argumente, QString &fehlertext)
{
    QProcess prozess;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    // The help is German: decimal commas, whatever the build machine uses.
    umgebung.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
    umgebung.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
    umgebung.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    prozess.setProcessEnvironment(umgebung);
    // One page: no page labels inside an example.
    const QStringList liste =
        QProcess::splitCommand(argumente) +
        QStringList{QStringLiteral("--kabeltabelle"), kabeltabelle,
                    QStringLiteral("--seitenlaenge"), QStringLiteral("10000")};
    prozess.start(werkzeug, liste);
    if (!prozess.waitForFinished(60000) || prozess.exitStatus() != QProcess::NormalExit ||
        prozess.exitCode() != 0) {
        fehlertext = QStringLiteral("%1 %2: %3")
                         .arg(werkzeug, liste.join(u' '),
                              QString::fromUtf8(prozess.readAllStandardError()).trimmed());
        return std::nullopt;
    }
    QString text = QString::fromUtf8(prozess.readAllStandardOutput());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    while (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    // A build machine has no display; the PDF needs none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList argumente = app.arguments();
    if (argumente.size() < 6 || argumente.size() > 7)
        return fehler(QStringLiteral("Aufruf: varolinaten_hilfe_pdf EINGABE.html AUSGABE.pdf "
                                     "VERSION BERICHTWERKZEUG KABELTABELLE [AUSGABE.html]"));
    const QString &eingabe = argumente.at(1);
    const QString &ausgabe = argumente.at(2);
    const QString &version = argumente.at(3);
    const QString &werkzeug = argumente.at(4);
    const QString &kabeltabelle = argumente.at(5);

    QFile quelle(eingabe);
    if (!quelle.open(QIODevice::ReadOnly))
        return fehler(QStringLiteral("%1: %2").arg(eingabe, quelle.errorString()));
    QString html = QString::fromUtf8(quelle.readAll());
    html.replace(QLatin1String("@VERSION@"), version);
    static const QRegularExpression platzhalter(QStringLiteral("@BERICHT ([^@]+)@"));
    for (QRegularExpressionMatch treffer = platzhalter.match(html); treffer.hasMatch();
         treffer = platzhalter.match(html, treffer.capturedStart())) {
        QString grund;
        const std::optional<QString> text =
            bericht(werkzeug, kabeltabelle, treffer.captured(1), grund);
        if (!text)
            return fehler(grund);
        html.replace(treffer.capturedStart(), treffer.capturedLength(), text->toHtmlEscaped());
    }
    if (argumente.size() > 6) {
        QSaveFile gefuellt(argumente.at(6));
        if (!gefuellt.open(QIODevice::WriteOnly) || gefuellt.write(html.toUtf8()) < 0 ||
            !gefuellt.commit())
            return fehler(QStringLiteral("%1: %2").arg(argumente.at(6), gefuellt.errorString()));
    }

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
