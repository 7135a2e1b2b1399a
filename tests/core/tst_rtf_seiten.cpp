// A saved report as other programs lay it out: the page of the file (a
// report line fits between its margins, a page label starts a page), checked
// in the file and through LibreOffice where it is installed; and the
// fallback for the report's "Tahoma" on a desktop without it.
#include "dokumentberichtsfeld.h"
#include "drucker.h"
#include "fake_oberflaeche.h"
#include "rechnen.h"
#include "rtf.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QUrl>

namespace {

// The report of the calculation "eine" for one frequency, as the program
// writes it (page length 73 lines, as without a printer).
void berichtRechnen(varo::DokumentBerichtsfeld &bericht, const QString &laenge)
{
    varo::Programmwerte werte;
    varo::KeinDrucker drucker;
    FakeOberflaeche ui;
    varo::Rechenkontext kontext{werte, bericht, drucker, ui, QLocale(QLocale::German)};
    varo::Berechnungsanfrage anfrage;
    anfrage.modus = varo::Berechnungsmodus::Eine;
    anfrage.frequenzen = QStringLiteral("28");
    anfrage.kabel = QStringLiteral("0,66");
    anfrage.laenge = laenge;
    anfrage.toleranz = QStringLiteral("35");
    QCOMPARE(varo::Rechnen(anfrage, kontext), varo::Rechenergebnis::Bericht);
}

// The value of a control word in the file ("margl" → 567), -1 without it.
int wortWert(const QByteArray &rtf, const char *wort)
{
    const QRegularExpression muster(QStringLiteral("\\\\%1(-?\\d+)").arg(QLatin1String(wort)));
    const QRegularExpressionMatch treffer = muster.match(QString::fromLatin1(rtf));
    return treffer.hasMatch() ? treffer.captured(1).toInt() : -1;
}

int seitenzeilen(const QTextDocument &dokument)
{
    static const QRegularExpression muster(QStringLiteral("^ *Seite \\d+$"));
    int anzahl = 0;
    for (QTextBlock b = dokument.begin(); b.isValid(); b = b.next())
        anzahl += muster.match(b.text()).hasMatch() ? 1 : 0;
    return anzahl;
}

QString ausfuehren(const QString &programm, const QStringList &argumente)
{
    QProcess p;
    p.start(programm, argumente);
    if (!p.waitForStarted(10000) || !p.waitForFinished(240000)) {
        p.kill();
        p.waitForFinished(5000);
        return QStringLiteral("<nicht beendet>");
    }
    return QString::fromUtf8(p.readAllStandardOutput()) +
           QString::fromUtf8(p.readAllStandardError());
}

} // namespace

class TstRtfSeiten : public QObject
{
    Q_OBJECT

private slots:
    void seitenImFile_data();
    void seitenImFile();
    void seitenInLibreOffice();
    void schlussProportional_data();
    void schlussProportional();
};

void TstRtfSeiten::seitenImFile_data()
{
    QTest::addColumn<QString>("laenge");
    QTest::addColumn<int>("seiten");
    QTest::newRow("eine Seite") << "30" << 1;
    QTest::newRow("vier Seiten") << "700" << 4;
}

void TstRtfSeiten::seitenImFile()
{
    QFETCH(QString, laenge);
    QFETCH(int, seiten);
    varo::DokumentBerichtsfeld bericht;
    berichtRechnen(bericht, laenge);
    QCOMPARE(seitenzeilen(bericht.dokument()), seiten - 1);
    const QByteArray rtf = varo::rtfSchreiben(bericht.dokument());

    // 81 characters of 10 pt Courier New (0.6 em each) fit between the margins.
    const int breite = wortWert(rtf, "paperw") - wortWert(rtf, "margl") - wortWert(rtf, "margr");
    QVERIFY2(81 * 0.6 * 10 * 20 <= breite, qPrintable(QString::number(breite)));
    // One break per label, each directly before it; report lines 4 mm high.
    QCOMPARE(int(rtf.count("\\page")), seiten - 1);
    const QRegularExpression vorSeite(
        QStringLiteral("\\\\page\\r\\n[^\\r]*Seite %1\\}\\\\par").arg(seiten));
    QVERIFY(seiten == 1 || vorSeite.match(QString::fromLatin1(rtf)).hasMatch());
    QVERIFY(rtf.contains("\\sl-227\\slmult0"));

    // Read back: the same text, and the breaks are not reported as left out.
    varo::DokumentBerichtsfeld geoeffnet;
    QString fehler;
    varo::rtf::Auslassungen ausgelassen;
    QVERIFY(varo::rtfLesen(rtf, geoeffnet.dokument(), &fehler, {}, &ausgelassen));
    QVERIFY(fehler.isEmpty());
    QCOMPARE(geoeffnet.text(), bericht.text());
    QCOMPARE(ausgelassen.seitenumbrueche, 0);
    QVERIFY(varo::rtf::auslassungenText(ausgelassen).isEmpty());
}

void TstRtfSeiten::seitenInLibreOffice()
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (soffice.isEmpty() || pdftotext.isEmpty())
        QSKIP("LibreOffice (soffice) oder pdftotext ist nicht installiert");
    varo::DokumentBerichtsfeld bericht;
    berichtRechnen(bericht, QStringLiteral("700"));
    QTemporaryDir ordner;
    QVERIFY(ordner.isValid());
    QFile datei(ordner.filePath(QStringLiteral("bericht.rtf")));
    QVERIFY(datei.open(QIODevice::WriteOnly));
    datei.write(varo::rtfSchreiben(bericht.dokument()));
    datei.close();
    const QString profil =
        QUrl::fromLocalFile(ordner.filePath(QStringLiteral("profil"))).toString();
    const QString ausgabe =
        ausfuehren(soffice, {"-env:UserInstallation=" + profil, "--headless", "--convert-to", "pdf",
                             "--outdir", ordner.path(), datei.fileName()});
    const QString pdf = ordner.filePath(QStringLiteral("bericht.pdf"));
    QVERIFY2(QFile::exists(pdf), qPrintable(ausgabe));
    const QString text = ausfuehren(pdftotext, {"-enc", "UTF-8", pdf, "-"});

    // One page per label, and each label is the first line of its page.
    QStringList seiten = text.split(QLatin1Char('\f'));
    if (!seiten.isEmpty() && seiten.last().trimmed().isEmpty())
        seiten.removeLast();
    QCOMPARE(seiten.size(), 4);
    for (int i = 1; i < seiten.size(); ++i) {
        const QString erste = seiten[i].trimmed().section(QLatin1Char('\n'), 0, 0).trimmed();
        QCOMPARE(erste, QStringLiteral("Seite %1").arg(i + 1));
    }
    // A rule line wrapped would leave a line of fewer em dashes.
    const QRegularExpression regel(QStringLiteral("^\\x{2014}+$"));
    int regeln = 0;
    for (const QString &zeile : text.split(QLatin1Char('\n'))) {
        if (!regel.match(zeile.trimmed()).hasMatch())
            continue;
        ++regeln;
        QCOMPARE(zeile.trimmed().size(), 80);
    }
    QVERIFY(regeln >= 8);
}

// The closing remark is "Tahoma"; where it is missing, its stand-in is
// proportional, inside a box whose own font is fixed-pitch, both as the
// report was written and as it is opened from the file.
void TstRtfSeiten::schlussProportional_data()
{
    QTest::addColumn<bool>("ausDatei");
    QTest::newRow("geschrieben") << false;
    QTest::newRow("geöffnet") << true;
}

void TstRtfSeiten::schlussProportional()
{
    QFETCH(bool, ausDatei);
    varo::DokumentBerichtsfeld bericht;
    berichtRechnen(bericht, QStringLiteral("30"));
    varo::DokumentBerichtsfeld geoeffnet;
    QVERIFY(varo::rtfLesen(varo::rtfSchreiben(bericht.dokument()), geoeffnet.dokument()));
    const QTextDocument &dokument = ausDatei ? geoeffnet.dokument() : bericht.dokument();

    // The report box's own font.
    QFont kasten(QStringLiteral("Courier New"), 10);
    kasten.setStyleHint(QFont::TypeWriter);
    kasten.setFixedPitch(true);
    if (QFontInfo(kasten).family().isEmpty())
        QSKIP("Die Plattform bietet keine Schriften an");
    // Proportional: an "i" is narrower than a "W".
    const auto proportional = [](const QFont &schrift) {
        const QFontMetricsF m(schrift);
        return m.horizontalAdvance(QLatin1Char('i')) < m.horizontalAdvance(QLatin1Char('W'));
    };
    int geprueft = 0;
    for (QTextBlock b = dokument.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QString familie = f.fontFamilies().toStringList().value(0);
            const QFont schrift = f.font().resolve(kasten);
            if (familie == QLatin1String("Tahoma")) {
                ++geprueft;
                QVERIFY2(proportional(schrift), qPrintable(QFontInfo(schrift).family()));
            } else if (familie == QLatin1String("Courier New")) {
                QVERIFY2(!proportional(schrift), qPrintable(QFontInfo(schrift).family()));
            }
        }
    }
    QCOMPARE(geprueft, 2); // the closing remark and the greeting
}

QTEST_MAIN(TstRtfSeiten)
#include "tst_rtf_seiten.moc"
