#include "rtf.h"

#include <QColor>
#include <QFile>
#include <QFont>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>

using namespace varo;

namespace {

const QString emDash(QChar(0x2014));

// Paragraphs joined by "\n"; line separators and no-break spaces stay as they are.
QString absatztexte(const QTextDocument &dokument)
{
    QStringList zeilen;
    for (QTextBlock block = dokument.begin(); block.isValid(); block = block.next())
        zeilen << block.text();
    return zeilen.join(QLatin1Char('\n'));
}

QString gelesen(const QByteArray &rtf)
{
    QTextDocument dokument;
    QString fehler;
    if (!rtfLesen(rtf, dokument, &fehler))
        return QStringLiteral("<nicht gelesen: %1>").arg(fehler);
    return absatztexte(dokument);
}

// The attributes the report box relies on, as one comparable string.
QString merkmale(const QTextCharFormat &f)
{
    QStringList m;
    const QStringList familien = f.fontFamilies().toStringList();
    m << (familien.isEmpty() ? QString() : familien.first());
    m << QString::number(f.fontPointSize());
    if (f.fontWeight() >= QFont::DemiBold)
        m << "b";
    if (f.fontItalic())
        m << "i";
    if (f.fontUnderline())
        m << "u";
    if (f.fontStrikeOut())
        m << "s";
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        m << "hoch";
    if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        m << "tief";
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        m << f.foreground().color().name();
    return m.join(QLatin1Char('|'));
}

// Per block: alignment, then each run as text«attributes», adjacent runs
// with equal attributes merged.
QStringList laeufe(const QTextDocument &dokument)
{
    QStringList ergebnis;
    for (QTextBlock block = dokument.begin(); block.isValid(); block = block.next()) {
        const Qt::Alignment a = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        QString zeile = (a & Qt::AlignHCenter) ? "[mitte]"
                        : (a & Qt::AlignRight) ? "[rechts]"
                                               : "[links]";
        QString text, vorige;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString m = merkmale(it.fragment().charFormat());
            if (m != vorige && !text.isEmpty()) {
                zeile += text + "«" + vorige + "»";
                text.clear();
            }
            vorige = m;
            text += it.fragment().text();
        }
        if (!text.isEmpty())
            zeile += text + "«" + vorige + "»";
        ergebnis << zeile;
    }
    return ergebnis;
}

QTextCharFormat format(const QString &familie, double punkte, bool fett = false)
{
    QTextCharFormat f;
    f.setFontFamilies({familie});
    f.setFontPointSize(punkte);
    f.setFontWeight(fett ? QFont::Bold : QFont::Normal);
    return f;
}

// Built the way the report frame formats a report.
void berichtAufbauen(QTextDocument &dokument)
{
    const QString trenner = QStringLiteral(" ") + emDash.repeated(80);
    QTextCursor c(&dokument);
    QTextCharFormat titel = format("Courier New", 16, true);
    titel.setForeground(QColor(128, 0, 128));
    QTextBlockFormat mitte;
    mitte.setAlignment(Qt::AlignHCenter);
    QTextBlockFormat links;
    links.setAlignment(Qt::AlignLeft);
    c.setBlockFormat(mitte);
    c.insertText("Varolinaten-Berechnung", titel);
    c.insertBlock(links);
    c.insertBlock(links);
    c.insertText(" Frequenz    :    7,100 MHz", format("Courier New", 10, true));
    c.insertBlock(links);
    c.insertText(" Verkürzungsfaktor Vk: 0,66 ± 0,01   Z = 50 Ω   Äquivalent Maß",
                 format("Courier New", 10, true));
    c.insertBlock(links);
    // A character outside cp1252 directly followed by letters: some readers
    // lose those letters when the fallback is a literal "?".
    c.insertText(" Kupfer: ρ = 0,0178 Ωmm²/m", format("Courier New", 10, true));
    c.insertBlock(links);
    c.insertBlock(links);
    const QTextCharFormat zeile = format("Courier New", 10);
    c.insertText("                        ungünstig            günstig", zeile);
    c.insertBlock(links);
    c.insertText(trenner, zeile);
    for (int i = 1; i <= 5; ++i) {
        c.insertBlock(links);
        c.insertText(
            QStringLiteral("%1 m%2 m").arg(i * 6.97, 33, 'f', 3).arg(i * 13.94, 19, 'f', 3), zeile);
    }
    c.insertBlock(links);
    c.insertText(trenner, zeile);
    c.insertBlock(links);
    const QTextCharFormat schluss = format("Tahoma", 10);
    c.insertText("Die Längen gelten für das Kabel {RG 58} in C:\\Kabel\tmit Tab.", schluss);
    c.insertBlock(links);
    QTextCharFormat f = schluss;
    c.insertText("H", f);
    f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    c.insertText("2", f);
    f.setVerticalAlignment(QTextCharFormat::AlignNormal);
    c.insertText("O, 10", f);
    f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    c.insertText("3", f);
    f.setVerticalAlignment(QTextCharFormat::AlignNormal);
    c.insertText(" m², ", f);
    QTextCharFormat k = f;
    k.setFontItalic(true);
    c.insertText("kursiv", k);
    c.insertText(", ", f);
    k = f;
    k.setFontUnderline(true);
    c.insertText("unterstrichen", k);
    c.insertText(", ", f);
    k = f;
    k.setFontStrikeOut(true);
    c.insertText("gestrichen", k);
    c.insertText(", ", f);
    k = f;
    k.setForeground(QColor(255, 0, 0));
    c.insertText("rot", k);
    k.setFontPointSize(10.5);
    c.insertText(" 10,5 pt", k);
    c.insertBlock(links);
    c.insertBlock(mitte);
    c.insertText(" Immer ein gutes Stehwellen-Verhältnis wünscht Ihnen Velmo", format("Tahoma", 8));
}

QByteArray datei(const QString &name)
{
    QFile f(QStringLiteral(VARO_TESTDATEN "/rtf/") + name);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool imCi()
{
    return qgetenv("CI") == "true";
}

} // namespace

class TestRtf : public QObject
{
    Q_OBJECT

private slots:
    void schreiberKopf();
    void schreiberZeichen_data();
    void schreiberZeichen();
    void schreiberNurAscii();
    void schreiberAbsaetze();

    void lesenText_data();
    void lesenText();
    void lesenFormate_data();
    void lesenFormate();
    void lesenAusrichtung();
    void lesenAusrichtungAusFormatvorlage_data();
    void lesenAusrichtungAusFormatvorlage();
    void lesenSchriften();
    void lesenKeinRtf_data();
    void lesenKeinRtf();
    void lesenBomben_data();
    void lesenBomben();
    void lesenGrenzen_data();
    void lesenGrenzen();
    void lesenGrenzeEingabe();
    void lesenAuslassungen_data();
    void lesenAuslassungen();
    void auslassungenText_data();
    void auslassungenText();
    void auslassungenImWerkzeug_data();
    void auslassungenImWerkzeug();

    void fremdLibreOffice();
    void fremdAbiWord();
    void fremdPandoc();
    void fremdLibreOfficeAuslassungen();

    void rundreise();
    void rundreiseUngepaarteSurrogate_data();
    void rundreiseUngepaarteSurrogate();
    void rundreiseMitUnrtf();
    void rundreiseMitLibreOffice();
};

void TestRtf::schreiberKopf()
{
    QTextDocument dokument;
    berichtAufbauen(dokument);
    const QByteArray rtf = rtfSchreiben(dokument);
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031\\uc1"));
    QVERIFY(rtf.contains("\\paperw11906\\paperh16838"));
    // One font entry per family, all with \fcharset0.
    const int tabelle = int(rtf.indexOf("{\\fonttbl"));
    const int ende = int(rtf.indexOf("}}", tabelle));
    QVERIFY(tabelle > 0 && ende > tabelle);
    const QByteArray schriften = rtf.mid(tabelle, ende - tabelle);
    QCOMPARE(schriften.count("Courier New;"), 1);
    QCOMPARE(schriften.count("Tahoma;"), 1);
    QCOMPARE(schriften.count(";"), schriften.count("\\fcharset0 "));
    // Auto, then the title's purple and the red.
    QVERIFY(rtf.contains("{\\colortbl;\\red128\\green0\\blue128;\\red255\\green0\\blue0;}"));
    QVERIFY(rtf.contains("\\pard\\qc{\\f"));
    QVERIFY(rtf.contains("\\fs32\\b\\cf1 Varolinaten-Berechnung}\\par"));
    QVERIFY(rtf.endsWith("}\r\n"));
}

void TestRtf::schreiberZeichen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("erwartet");
    QTest::newRow("Gedankenstrich") << QString(QChar(0x2014)) << QByteArray("\\'97");
    QTest::newRow("Umlaute ü Ä ß") << QStringLiteral("üÄß") << QByteArray("\\'fc\\'c4\\'df");
    QTest::newRow("± °") << QStringLiteral("±°") << QByteArray("\\'b1\\'b0");
    QTest::newRow("Omega") << QString(QChar(0x03A9)) << QByteArray("\\u937\\'3f");
    QTest::newRow("Ohmzeichen") << QString(QChar(0x2126)) << QByteArray("\\u8486\\'3f");
    QTest::newRow("Euro und Anführung") << QStringLiteral("€„“") << QByteArray("\\'80\\'84\\'93");
    QTest::newRow("über 32767") << QString(QChar(0xFF21)) << QByteArray("\\u-223\\'3f");
    QTest::newRow("Emoji") << QStringLiteral("😀") << QByteArray("\\u-10179\\'3f\\u-8704\\'3f");
    QTest::newRow("Klammern Backslash")
        << QStringLiteral("C:\\{neu}") << QByteArray("C:\\\\\\{neu\\}");
    QTest::newRow("Tab") << QStringLiteral("a\tb") << QByteArray("a\\tab b");
    QTest::newRow("Zeilenwechsel") << QStringLiteral("a\u2028b") << QByteArray("a\\line b");
    QTest::newRow("geschützte Zeichen")
        << QStringLiteral("a\u00A0b\u00ADc\u2011d") << QByteArray("a\\~b\\-c\\_d");
    QTest::newRow("Steuerzeichen fallen weg")
        << QStringLiteral("a\x01\u0085\uFFFCb") << QByteArray("ab}");
    QTest::newRow("führendes Leerzeichen") << QStringLiteral(" x") << QByteArray(" x}");
}

void TestRtf::schreiberZeichen()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, erwartet);
    QTextDocument dokument;
    QTextCursor(&dokument).insertText(text, format("Arial", 11));
    const QByteArray rtf = rtfSchreiben(dokument);
    QVERIFY2(rtf.contains("\\fs22 " + erwartet), rtf.constData());
    QTextDocument zurueck;
    QVERIFY(rtfLesen(rtf, zurueck));
    QString ohneSteuerzeichen = text;
    ohneSteuerzeichen.remove(QRegularExpression("[\\x01\\x{85}\\x{FFFC}]"));
    QCOMPARE(absatztexte(zurueck), ohneSteuerzeichen);
}

void TestRtf::schreiberNurAscii()
{
    QTextDocument dokument;
    berichtAufbauen(dokument);
    QTextCursor c(&dokument);
    c.movePosition(QTextCursor::End);
    c.insertText(QStringLiteral("ÿ\u0100\u4E2D\U0001F600 Ω—"));
    const QByteArray rtf = rtfSchreiben(dokument);
    int tiefe = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(rtf.at(i));
        QVERIFY2(b < 0x80 && (b >= 0x20 || b == '\r' || b == '\n'), qPrintable(QString::number(i)));
        if (b == '\\') {
            ++i; // an escaped brace or backslash does not count
            continue;
        }
        if (b == '{')
            ++tiefe;
        if (b != '}')
            continue;
        --tiefe;
        QVERIFY(tiefe >= 0);
        if (tiefe == 0) // only the closing brace of the document brings it back to 0
            QCOMPARE(rtf.mid(i).trimmed(), QByteArray("}"));
    }
    QCOMPARE(tiefe, 0);
    QVERIFY(!rtf.contains("\\'3f?"));
    QVERIFY(!rtf.contains("\\'3f\\'3f")); // one fallback per \u
}

void TestRtf::schreiberAbsaetze()
{
    QTextDocument dokument;
    berichtAufbauen(dokument);
    const QByteArray rtf = rtfSchreiben(dokument);
    QCOMPARE(rtf.count("\\pard"), dokument.blockCount());
    QCOMPARE(rtf.count("\\par\r\n"), dokument.blockCount());
    QCOMPARE(rtf.count("\\pard\\qc"), 2);
}

void TestRtf::lesenText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    auto zeile = [](const char *rtf, const QString &text) {
        QTest::newRow(rtf) << QByteArray(rtf) << text;
    };
    // \uc and its fallbacks
    zeile("{\\rtf1 Gr\\u246\\'f6\\'dfe und k\\u937?, H}", "Größe und kΩ, H");
    zeile("{\\rtf1 a\\u160?c}", "a\u00A0c");
    zeile("{\\rtf1 Gr\\u246\\'f6 e}", "Grö e");
    zeile("{\\rtf1{\\uc2\\u8364\\'80\\'80}x}", "€x");
    zeile("{\\rtf1{\\u937}x}", "Ωx");
    zeile("{\\rtf1 \\u8212\\emdash b}", "—b");
    zeile("{\\rtf1\\uc0 \\u937  x}", "Ω x");
    zeile("{\\rtf1\\uc2 \\u937 ab\\u937\\'3f\\'3fc}", "ΩΩc");
    // signed values and surrogates
    zeile("{\\rtf1 \\u-10179?\\u-8704?}", QStringLiteral("😀"));
    zeile("{\\rtf1 a\\u-10179?b}", "a\uFFFDb");
    zeile("{\\rtf1 a\\u-8704?b}", "a\uFFFDb");
    zeile("{\\rtf1 a\\u99999999999 b}", "ab");
    zeile("{\\rtf1 a\\u0 b}", "ab");
    zeile("{\\rtf1 a\\u65535?b}", QStringLiteral("a\uFFFFb"));
    zeile("{\\rtf1 a{\\*\\foo \\u-10179?}b}", "ab");
    zeile("{\\rtf1 a{\\info{\\title \\u-10179?}}b}", "ab");
    zeile("{\\rtf1{\\colortbl;\\u-10179?\\red1;}b}", "b");
    zeile("{\\rtf1{\\fonttbl{\\f0 A\\u-10179?;}}\\f0 x}", "x");
    // delimiters
    zeile("{\\rtf1 r\\'e9dig\\'e9 par}", "rédigé par");
    zeile("{\\rtf1\\b  x}", " x");
    zeile("{\\rtf1\\pard\\b\\f0\\fs17 VIT}", "VIT");
    zeile("{\\rtf1\\b\r\nx\\b0\ny}", "xy");
    zeile("{\\rtf1 a\\'4xb}", "axb");
    zeile("{\\rtf1 a\\'zb}", "azb");
    // code pages
    zeile("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset204 Times;}}"
          "\\f0 \\'fc \\f1 \\'cf\\'f0\\'e8}",
          "ü При");
    zeile("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset238 Arial CE;}}\\f0 \\'b9\\'e8}", "ąč");
    zeile("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset222 Thai;}}\\'fc}",
          "ü");
    zeile("{\\rtf1\\ansi\\ansicpg-535 \\'c3\\'bc}", "ü");
    zeile("{\\rtf1\\ansi\\ansicpg0 \\'fc}", "ü");
    zeile("{\\rtf1\\ansi\\ansicpg4711 \\'fc}", "ü");
    zeile("{\\rtf1\\mac \\'9f}", "ü");
    zeile("{\\rtf1\\pc \\'81}", "ü");
    zeile("{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa\\'96\\'7b}", "日本");
    zeile("{\\rtf1\\ansi \\'80\\'84\\'93\\'96\\'97}", "€„“–—");
    // font table shapes
    zeile("{\\rtf1{\\fonttbl{\\f0 Arial{\\*\\falt Helvetica};}}\\f0 a}", "a");
    zeile("{\\rtf1{\\fonttbl\\f0\\fswiss Helvetica;\\f1 Courier;}\\f1 a}", "a");
    zeile("{\\rtf1{\\fonttbl{\\f0 Arial}}\\f0 a}", "a");
    zeile("{\\rtf1\\f2147483647 a\\f99999999999 b}", "ab");
    // destinations
    zeile("{\\rtf1{\\*\\pgdsctbl{\\pgdsc0 Standard;}}A}", "A");
    zeile("{\\rtf1 A{\\*\\foo\\qc\\b\\par}B}", "AB");
    zeile("{\\rtf1{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt Link}} da}", "Link da");
    zeile("{\\rtf1{\\*\\a x}{\\*\\b y}{\\*\\c z}Z}", "Z");
    zeile("{\\rtf1{\\info{\\title T}}{\\stylesheet{\\s0 Normal;}}{\\pict\\pngblip 89504e47}T}",
          "T");
    zeile("{\\rtf1 a{\\v versteckt}b}", "ab");
    zeile("{\\rtf1 a\\v x\\v0 b}", "ab");
    // \bin
    zeile("{\\rtf1 a{\\*\\x\\bin5 }}}{b} c}", "a c");
    zeile("{\\rtf1 a\\bin0 b}", "ab");
    zeile("{\\rtf1 a\\bin-5 b}", "ab");
    zeile("{\\rtf1 a\\bin999 b}", "a");
    // braces
    zeile("{\\rtf1 a}}b", "a");
    zeile("{\\rtf1 a}junk{\\b b}", "a");
    zeile("{\\rtf1 a\\par b", "a\nb");
    zeile("{\\rtf1 a}\r\n", "a");
    zeile("{\\rtf1 a{b}c}}}{", "abc");
    zeile("{\\rtf1}", "");
    // symbols and breaks
    zeile("{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}", "—–•‘’“”");
    zeile("{\\rtf1 a\\~b\\_c\\-d}", "a\u00A0b\u2011c\u00ADd");
    zeile("{\\rtf1 a\\line b\\tab c\tc}", "a\u2028b\tc\tc");
    zeile("{\\rtf1 a\\par\\par b\\par}", "a\n\nb");
    zeile("{\\rtf1 a\\\r\nb\\\nc}", "a\nb\nc");
    zeile("{\\rtf1 a\\page b\\par\\sect c}", "a\nb\nc");
    zeile("{\\rtf1 a\\cell b\\cell\\row c}", "a\tb\t\nc");
    zeile("{\\rtf1 \\'84Zitat\\'93 \\'80 5}", "„Zitat“ € 5");
    zeile("{\\rtf1 Backslash \\\\ und \\{x\\}}", "Backslash \\ und {x}");
    QTest::newRow("{\\rtf1 a<NUL>b}") << QByteArray("{\\rtf1 a\0b}", 11) << QString("ab");
}

void TestRtf::lesenText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(gelesen(rtf), text);
}

void TestRtf::lesenFormate_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("laeufe");
    auto zeile = [](const char *rtf, const QStringList &l) {
        QTest::newRow(rtf) << QByteArray(rtf) << l;
    };
    zeile("{\\rtf1 a\\b b\\b0 c}", {"[links]a«|12»b«|12|b»c«|12»"});
    zeile("{\\rtf1\\i a\\i0\\ul b\\ul0 c\\ul d\\ulnone e\\uldb f\\plain g}",
          {"[links]a«|12|i»b«|12|u»c«|12»d«|12|u»e«|12»f«|12|u»g«|12»"});
    zeile("{\\rtf1\\strike a\\strike0 b\\striked1 c}", {"[links]a«|12|s»b«|12»c«|12|s»"});
    zeile("{\\rtf1 10\\super 3\\nosupersub x\\sub 2\\nosupersub y}",
          {"[links]10«|12»3«|12|hoch»x«|12»2«|12|tief»y«|12»"});
    zeile("{\\rtf1 a\\up6 b\\up0 c\\dn4 d\\dn0 e}",
          {"[links]a«|12»b«|12|hoch»c«|12»d«|12|tief»e«|12»"});
    zeile("{\\rtf1\\fs20 a\\fs b\\fs1 c\\fs99999999999999999999999999999999999999999999999999 d}",
          {"[links]a«|10»b«|12»c«|1»d«|1638»"});
    zeile("{\\rtf1 A{}A\\fs16 B}", {"[links]AA«|12»B«|8»"});
    zeile("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green300;;}"
          "\\cf1 r\\cf2 g\\cf3 a\\cf0 n\\cf9 o\\cf-1 m}",
          {"[links]r«|12|#ff0000»g«|12|#00ff00»anom«|12»"});
    zeile("{\\rtf1{\\colortbl\\red1\\green2\\blue3;}\\cf0 x}", {"[links]x«|12»"});
    zeile("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}\\f1 a\\f7 b\\plain c}",
          {"[links]ab«Courier New|12»c«|12»"});
    zeile("{\\rtf1\\deff1{\\fonttbl{\\f0 Arial;}{\\f1 Tahoma;}}a\\f0 b\\plain c}",
          {"[links]a«Tahoma|12»b«Arial|12»c«Tahoma|12»"});
    zeile("{\\rtf1{\\fonttbl{\\f3 Arial;}{\\f3 Verdana;}}\\f3 a}", {"[links]a«Verdana|12»"});
    zeile("{\\rtf1\\b{\\i a}b\\par}", {"[links]a«|12|b|i»b«|12|b»"});
}

void TestRtf::lesenFormate()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, laeufe);
    QTextDocument dokument;
    QVERIFY(rtfLesen(rtf, dokument));
    QCOMPARE(::laeufe(dokument), laeufe);
}

void TestRtf::lesenAusrichtung()
{
    QTextDocument dokument;
    QVERIFY(rtfLesen("{\\rtf1\\qc A\\par B\\par\\pard C\\par\\qr D\\par{\\qj E\\par}F\\par"
                     "\\qc{\\*\\x\\ql}G\\par\\pard{\\qc H}\\par}",
                     dokument));
    QStringList ausrichtungen;
    for (QTextBlock b = dokument.begin(); b.isValid(); b = b.next()) {
        const Qt::Alignment a = b.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        ausrichtungen << b.text() + ((a & Qt::AlignHCenter)   ? "c"
                                     : (a & Qt::AlignRight)   ? "r"
                                     : (a & Qt::AlignJustify) ? "j"
                                                              : "l");
    }
    // \par takes the alignment of its moment: H's group has ended by then.
    QCOMPARE(ausrichtungen, QStringList({"Ac", "Bc", "Cl", "Dr", "Ej", "Fr", "Gc", "Hl"}));
}

void TestRtf::lesenAusrichtungAusFormatvorlage_data()
{
    QTest::addColumn<QByteArray>("koerper");
    QTest::addColumn<int>("ausrichtung");
    // Style 1 is centred, 2 is based on 1, 3 right-aligned, 4 based on
    // itself, 0 (unnumbered) justified; 5 is a character style.
    QTest::newRow("Stil zentriert")
        << QByteArray("\\pard\\plain\\s1 A\\par") << int(Qt::AlignHCenter);
    QTest::newRow("geerbt über sbasedon")
        << QByteArray("\\pard\\s2 A\\par") << int(Qt::AlignHCenter);
    QTest::newRow("q vor s gewinnt") << QByteArray("\\pard\\qr\\s1 A\\par") << int(Qt::AlignRight);
    QTest::newRow("q nach s gewinnt") << QByteArray("\\pard\\s1\\ql A\\par") << int(Qt::AlignLeft);
    QTest::newRow("pard nimmt Stil 0") << QByteArray("\\pard A\\par") << int(Qt::AlignJustify);
    QTest::newRow("Kreis endet") << QByteArray("\\pard\\s4 A\\par") << int(Qt::AlignLeft);
    QTest::newRow("Zeichenstil zählt nicht")
        << QByteArray("\\pard\\s5 A\\par") << int(Qt::AlignLeft);
    QTest::newRow("s in der Gruppe") << QByteArray("\\pard{\\s3 A\\par}") << int(Qt::AlignRight);
}

void TestRtf::lesenAusrichtungAusFormatvorlage()
{
    QFETCH(QByteArray, koerper);
    QFETCH(int, ausrichtung);
    QTextDocument dokument;
    QVERIFY(rtfLesen("{\\rtf1{\\stylesheet{\\qj Normal;}{\\s1\\qc Mitte;}{\\s2\\sbasedon1 Kind;}"
                     "{\\s3\\sbasedon0\\qr Rechts;}{\\s4\\sbasedon4 Kreis;}{\\cs5\\qr Zeichen;}}" +
                         koerper + "}",
                     dokument));
    QCOMPARE(dokument.toPlainText(), QStringLiteral("A"));
    QCOMPARE(int(dokument.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask),
             ausrichtung);
}

void TestRtf::lesenSchriften()
{
    // An undeclared font keeps the current one; a huge name is capped.
    const QByteArray langerName(100000, 'N');
    QTextDocument dokument;
    QVERIFY(rtfLesen("{\\rtf1{\\fonttbl{\\f1 Arial;}{\\f2 " + langerName + ";}}\\f1 a\\f0 b\\f2 c}",
                     dokument));
    const QStringList l = laeufe(dokument);
    QCOMPARE(l.size(), 1);
    QVERIFY2(l.first().startsWith("[links]ab«Arial|12»c«NNN"), qPrintable(l.first()));
    QCOMPARE(l.first().count('N'), rtf::maxSchriftname);
}

void TestRtf::lesenKeinRtf_data()
{
    QTest::addColumn<QByteArray>("eingabe");
    QTest::newRow("leer") << QByteArray();
    QTest::newRow("Klartext") << QByteArray("Hallo Welt\r\nzweite Zeile\r\n");
    QTest::newRow("nur {\\rtf") << QByteArray("{\\rtf");
    QTest::newRow("Kopf ohne Text") << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}");
    QTest::newRow("{\\rtfx") << QByteArray("{\\rtfx Text}");
    QTest::newRow("{\\htmlrtf0Start") << QByteArray("{\\htmlrtf0Start}");
    QTest::newRow("NUL-Bytes") << QByteArray(64, '\0');
    QTest::newRow("binär") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    QTest::newRow("zu groß") << QByteArray("{\\rtf1 ") + QByteArray(rtf::maxEingabeBytes, 'x');
}

void TestRtf::lesenKeinRtf()
{
    QFETCH(QByteArray, eingabe);
    QTextDocument dokument;
    QTextCursor(&dokument).insertText("Bericht bleibt");
    dokument.setModified(false);
    QString fehler;
    QVERIFY(!rtfLesen(eingabe, dokument, &fehler));
    QVERIFY(!fehler.isEmpty());
    QCOMPARE(dokument.toPlainText(), QStringLiteral("Bericht bleibt"));
    QVERIFY(!dokument.isModified());
}

void TestRtf::lesenBomben_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("anfang");
    QTest::addColumn<int>("absaetze");
    QTest::addColumn<bool>("hinweis"); // groups past the depth limit are dropped with a note
    QTest::newRow("100000 offene Gruppen")
        << QByteArray("{\\rtf1 a") + QByteArray(100000, '{') + "x" + QByteArray(100000, '}') + "b}"
        << "ab" << 1 << true;
    QTest::newRow("tiefe Gruppen ohne Ende")
        << QByteArray("{\\rtf1 a") + QByteArray(100000, '{') << "a" << 1 << true;
    QTest::newRow("Steuerwort mit 100 kB")
        << QByteArray("{\\rtf1 a\\") + QByteArray(100000, 'q') + "1 b}"
        << "ab" << 1 << false;
    QByteArray laeufe("{\\rtf1 ");
    for (int i = 0; i < 1000000; ++i)
        laeufe += "\\b x\\b0 y";
    laeufe += "}";
    // The run limit stops the reader with a note.
    QTest::newRow("10^6 Läufe") << laeufe << "xyxyxy" << 1 << true;
    QByteArray absaetze("{\\rtf1 ");
    for (int i = 0; i < 200000; ++i)
        absaetze += "a\\par ";
    QTest::newRow("200000 Absätze") << absaetze << "a\na\n" << int(rtf::maxAbsaetze) << true;
    QTest::newRow("\\bin hinter dem Ende")
        << QByteArray("{\\rtf1 a\\bin2147483647 b}") << "a" << 1 << false;
}

void TestRtf::lesenBomben()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, anfang);
    QFETCH(int, absaetze);
    QFETCH(bool, hinweis);
    QTextDocument dokument;
    QString fehler;
    QVERIFY(rtfLesen(rtf, dokument, &fehler));
    QCOMPARE(!fehler.isEmpty(), hinweis);
    QVERIFY(absatztexte(dokument).startsWith(anfang));
    QCOMPARE(dokument.blockCount(), absaetze);
}

void TestRtf::lesenGrenzen_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("grenze");
    QTest::addColumn<int>("wert");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("hinweis");
    auto zeile = [](const char *rtf, const char *grenze, int wert, const QString &text,
                    bool hinweis) {
        QTest::newRow(QByteArray(grenze) + "=" + QByteArray::number(wert) + " " + rtf)
            << QByteArray(rtf) << QString(grenze) << wert << text << hinweis;
    };
    // Past a limit the reader stops, keeps what it has and says so.
    zeile("{\\rtf1 abc\\par defgh\\par ij}", "zeichen", 5, "abc\nde", true);
    zeile("{\\rtf1 abc\\par de}", "zeichen", 5, "abc\nde", false);
    zeile("{\\rtf1 a\\par b\\par c\\par}", "absaetze", 2, "a\nb", true);
    zeile("{\\rtf1 a\\b b\\b0 c\\b d}", "laeufe", 3, "abc", true);
    zeile("{\\rtf1 a\\b0 b\\plain c}", "laeufe", 1, "abc", false);
    // Groups past the depth limit are dropped, the rest is read on.
    zeile("{\\rtf1 a{b{c{d}}}e}", "gruppentiefe", 3, "abce", true);
    zeile("{\\rtf1 a{b{c}}e}", "gruppentiefe", 3, "abce", false);
    // Table entries past the limit are not kept, and the read says so: f2 is
    // undeclared, cf2 out of range.
    zeile("{\\rtf1{\\fonttbl{\\f0 A;}{\\f1 B;}{\\f2 C;}}"
          "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green255\\blue0;}\\f2 x\\cf2 y}",
          "tabelleneintraege", 2, "xy", true);
    zeile("{\\rtf1{\\fonttbl{\\f0 A;}{\\f1 B;}{\\f2 C;}}x}", "tabelleneintraege", 2, "x", true);
    zeile("{\\rtf1{\\colortbl;\\red1;\\red2;}x}", "tabelleneintraege", 2, "x", true);
    zeile("{\\rtf1{\\stylesheet{\\s1 A;}{\\s2 B;}{\\s3 C;}}x}", "tabelleneintraege", 2, "x", true);
    zeile("{\\rtf1{\\fonttbl{\\f0 A;}{\\f0 B;}}{\\colortbl;\\red1;}x}", "tabelleneintraege", 2, "x",
          false);
}

void TestRtf::lesenGrenzen()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, grenze);
    QFETCH(int, wert);
    QFETCH(QString, text);
    QFETCH(bool, hinweis);
    rtf::Grenzen grenzen;
    if (grenze == "zeichen")
        grenzen.zeichen = wert;
    else if (grenze == "absaetze")
        grenzen.absaetze = wert;
    else if (grenze == "laeufe")
        grenzen.laeufe = wert;
    else if (grenze == "gruppentiefe")
        grenzen.gruppentiefe = wert;
    else if (grenze == "tabelleneintraege")
        grenzen.tabelleneintraege = wert;
    QTextDocument dokument;
    QString fehler;
    QVERIFY(rtfLesen(rtf, dokument, &fehler, grenzen));
    QCOMPARE(absatztexte(dokument), text);
    QCOMPARE(!fehler.isEmpty(), hinweis);
    if (grenze == "tabelleneintraege" && text == "xy")
        QCOMPARE(laeufe(dokument), QStringList({"[links]xy«|12»"}));
}

void TestRtf::lesenGrenzeEingabe()
{
    rtf::Grenzen grenzen;
    grenzen.eingabeBytes = 10;
    QTextDocument dokument;
    QString fehler;
    QVERIFY(rtfLesen("{\\rtf1 ab}", dokument, &fehler, grenzen));
    QVERIFY(!rtfLesen("{\\rtf1 abcdefgh}", dokument, &fehler, grenzen));
    QVERIFY(!fehler.isEmpty());
    QCOMPARE(dokument.toPlainText(), QStringLiteral("ab"));
}

void TestRtf::lesenAuslassungen_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("gezaehlt"); // pictures, tables, lists, highlights, page breaks
    auto zeile = [](const char *name, const char *rtf, const QString &text, const char *gezaehlt) {
        QTest::newRow(name) << QByteArray(rtf) << text << QString(gezaehlt);
    };
    zeile("nichts", "{\\rtf1 a\\par\\b b\\par}", "a\nb", "0 0 0 0 0");
    // The stand-in for readers that cannot draw the picture is the same picture.
    zeile("Bild mit Ersatz",
          "{\\rtf1 a{\\*\\shppict{\\pict\\pngblip 89504e47}}{\\nonshppict{\\pict\\wmetafile8 "
          "0100}}b}",
          "ab", "1 0 0 0 0");
    zeile("zwei Bilder, eines als Form",
          "{\\rtf1{\\pict\\jpegblip ffd8}{\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv{\\pict\\pngblip "
          "00}}}}{\\shprslt{\\pict\\wmetafile8 00}}}x}",
          "x", "2 0 0 0 0");
    zeile("Bild in \\bin", "{\\rtf1{\\pict\\bin4 {\\pi}x}", "x", "1 0 0 0 0");
    zeile("eine Tabelle, zwei Zeilen",
          "{\\rtf1\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\cell\\row"
          "\\trowd\\cellx1000\\pard\\intbl c\\cell\\row\\pard d\\par}",
          "a\tb\t\nc\t\nd", "0 1 0 0 0");
    zeile("zwei Tabellen",
          "{\\rtf1\\trowd\\pard\\intbl a\\cell\\row\\pard\\par"
          "\\trowd\\pard\\intbl b\\cell\\row\\pard}",
          "a\t\n\nb\t", "0 2 0 0 0");
    zeile(
        "Liste mit listtext",
        "{\\rtf1{\\listtext\\'95\\tab}\\ls1 a\\par{\\listtext\\'95\\tab}\\ls1 b\\par\\pard c\\par}",
        "a\nb\nc", "0 0 2 0 0");
    zeile("Liste mit pntext", "{\\rtf1{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody}a\\par b\\par}", "a\nb",
          "0 0 1 0 0");
    zeile("Hervorhebungen",
          "{\\rtf1 a{\\highlight7 b}c\\chcbpat2 d\\chcbpat0 e{\\highlight0 f}\\cb3 g\\plain h}",
          "abcdefgh", "0 0 0 3 0");
    zeile("versteckt zählt nicht", "{\\rtf1{\\v\\highlight7 b}c}", "c", "0 0 0 0 0");
    zeile("Seitenumbrüche", "{\\rtf1 a\\page b\\par\\pard\\pagebb c\\par d\\page}", "a\nb\nc\nd",
          "0 0 0 0 3");
    const QString seite = QStringLiteral("Seite 2").rightJustified(80);
    QTest::newRow("Umbruch vor der Seitenzeile")
        << QByteArray("{\\rtf1 a\\par\\page\\pard ") + seite.toLatin1() + "\\par b\\par}"
        << "a\n" + seite + "\nb"
        << "0 0 0 0 0";
    QTest::newRow("Umbruch vor anderer Zeile")
        << QByteArray("{\\rtf1 a\\par\\page\\pard Seite 2\\par}") << "a\nSeite 2"
        << "0 0 0 0 1";
}

void TestRtf::lesenAuslassungen()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QFETCH(QString, gezaehlt);
    QTextDocument dokument;
    QString fehler;
    rtf::Auslassungen a;
    a.bilder = 99; // the reader starts from nothing
    QVERIFY(rtfLesen(rtf, dokument, &fehler, {}, &a));
    QCOMPARE(absatztexte(dokument), text);
    QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5")
                 .arg(a.bilder)
                 .arg(a.tabellen)
                 .arg(a.aufzaehlungen)
                 .arg(a.hervorhebungen)
                 .arg(a.seitenumbrueche),
             gezaehlt);
    QCOMPARE(rtf::auslassungenText(a).isEmpty(), gezaehlt == "0 0 0 0 0");
}

void TestRtf::auslassungenText_data()
{
    QTest::addColumn<int>("bilder");
    QTest::addColumn<int>("tabellen");
    QTest::addColumn<int>("umbrueche");
    QTest::addColumn<QString>("text");
    QTest::newRow("nichts") << 0 << 0 << 0 << "";
    QTest::newRow("Einzahl") << 1 << 1 << 1
                             << "Nicht übernommen: 1 Bild, 1 Tabelle (nur ihr Text, Zellen durch "
                                "Tabulatoren getrennt), 1 Seitenumbruch.";
    QTest::newRow("Mehrzahl") << 2 << 0 << 3 << "Nicht übernommen: 2 Bilder, 3 Seitenumbrüche.";
}

void TestRtf::auslassungenText()
{
    QFETCH(int, bilder);
    QFETCH(int, tabellen);
    QFETCH(int, umbrueche);
    QFETCH(QString, text);
    rtf::Auslassungen a;
    a.bilder = bilder;
    a.tabellen = tabellen;
    a.seitenumbrueche = umbrueche;
    QCOMPARE(rtf::auslassungenText(a), text);
}

void TestRtf::auslassungenImWerkzeug_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("meldung"); // on stderr; empty: none about what was left out
    QTest::newRow("Bild und Tabelle")
        << QByteArray("{\\rtf1{\\pict\\pngblip 00}\\trowd\\pard\\intbl a\\cell\\row\\pard b\\par}")
        << "Nicht übernommen: 1 Bild, 1 Tabelle";
    QTest::newRow("Seitenumbruch vor der Seitenzeile")
        << QByteArray("{\\rtf1 a\\par\\page\\pard ") + QByteArray(73, ' ') + "Seite 2\\par}"
        << "";
    QTest::newRow("abgeschnitten, mit Bild")
        << QByteArray("{\\rtf1{\\pict\\pngblip 00}a\\par b") << "Nicht übernommen: 1 Bild.";
}

// The report tool names what it left out on stderr; the exit status stays
// what the read gives (a cut-off file fails without --teilweise).
void TestRtf::auslassungenImWerkzeug()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, meldung);
    const QString werkzeug = QCoreApplication::applicationDirPath() + "/varolinaten-bericht";
    if (!QFile::exists(werkzeug))
        QSKIP("Das Berichtswerkzeug wurde nicht gebaut");
    QTemporaryDir ordner;
    QFile datei(ordner.filePath("fremd.rtf"));
    QVERIFY(datei.open(QIODevice::WriteOnly));
    datei.write(rtf);
    datei.close();
    QProcess p;
    p.start(werkzeug, {"--oeffnen", datei.fileName()});
    QVERIFY(p.waitForFinished(60000));
    const QString fehler = QString::fromUtf8(p.readAllStandardError());
    QCOMPARE(fehler.contains("Nicht übernommen"), !meldung.isEmpty());
    QVERIFY2(fehler.contains(meldung), qPrintable(fehler));
    QCOMPARE(p.exitCode(), rtfGeschlossen(rtf) ? 0 : 1);
}

void TestRtf::fremdLibreOffice()
{
    const QByteArray rtf = datei("libreoffice-7.4.rtf");
    QVERIFY(!rtf.isEmpty());
    QTextDocument dokument;
    QVERIFY(rtfLesen(rtf, dokument));
    const QString gross = "Courier New|18|b|#800080";
    QCOMPARE(
        laeufe(dokument),
        QStringList({
            "[mitte]Varolinaten-Berechnung«" + gross + "»",
            "[links]Frequenz : 7,100 MHz«Courier New|12|b»",
            "[links]Varolinaten: ungünstig günstig«Courier New|12»",
            "[links]" + emDash.repeated(80) + "«Liberation Serif|12»",
            "[links]Größe und Maß: 4,7 kΩ ± 0,2 °C — „Zitat“ – € 12,50«Arial|12»",
            "[links]kursiv«Liberation Serif|12|i», «Liberation Serif|12»unterstrichen«Liberation "
            "Serif|12|u», «Liberation Serif|12»durchgestrichen«Liberation Serif|12|s», "
            "H«Liberation Serif|12»2«Liberation Serif|12|tief»O, 10«Liberation "
            "Serif|12»3«Liberation Serif|12|hoch» m², «Liberation Serif|12»rot«Liberation "
            "Serif|12|#ff0000», «Liberation Serif|12»grün«Liberation Serif|12|#00ff00»",
            "[mitte]Immer ein gutes Stehwellen-Verhältnis«Tahoma|7»",
            // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one paragraph, split for width
            "[links]Tab: nach dem Tabulator; Backslash \\ und {geschweifte} "
            "Klammern«Liberation Serif|12»",
        }));
}

void TestRtf::fremdAbiWord()
{
    const QByteArray rtf = datei("abiword-3.0.rtf");
    QVERIFY(!rtf.isEmpty());
    QTextDocument dokument;
    QVERIFY(rtfLesen(rtf, dokument));
    QStringList l = laeufe(dokument);
    // AbiWord closes the document with empty paragraphs.
    while (!l.isEmpty() && l.last() == "[links]")
        l.removeLast();
    QCOMPARE(
        l,
        QStringList({
            "[mitte]Varolinaten-Berechnung«Courier New|16|b|#800080»",
            "[links]Frequenz : 7,100 MHz«Courier New|12|b»",
            "[links]Varolinaten: ungünstig günstig«Courier New|12»",
            "[links]" + emDash.repeated(80) + "«Courier New|12»",
            "[links]Größe und Maß: 4,7 kΩ ± 0,2 °C — „Zitat“ – € 12,50«Arial|12»",
            "[links]kursiv«Liberation Serif|12|i», «Liberation Serif|12»unterstrichen«Liberation "
            "Serif|12|u», «Liberation Serif|12»durchgestrichen«Liberation Serif|12|s», "
            "H«Liberation Serif|12»2«Liberation Serif|12|tief»O, 10«Liberation "
            "Serif|12»3«Liberation Serif|12|hoch» m², «Liberation Serif|12»rot«Liberation "
            "Serif|12|#ff0000», «Liberation Serif|12»grün«Liberation Serif|12|#00ff00»",
            "[mitte]Immer ein gutes Stehwellen-Verhältnis«Tahoma|8»",
            // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one paragraph, split for width
            "[links]Tab: nach dem Tabulator; Backslash \\ und {geschweifte} "
            "Klammern«Liberation Serif|12»",
        }));
    QVERIFY(!absatztexte(dokument).contains("Formate")); // the title in \info is no text
}

void TestRtf::fremdPandoc()
{
    const QByteArray rtf = datei("pandoc-2.17.rtf");
    QVERIFY(!rtf.isEmpty());
    QTextDocument dokument;
    QVERIFY(rtfLesen(rtf, dokument));
    QCOMPARE(
        laeufe(dokument),
        QStringList({
            "[links]Varolinaten-Berechnung«Helvetica|18|b»",
            "[links]Fett«Helvetica|12|b», «Helvetica|12»kursiv«Helvetica|12|i», "
            "«Helvetica|12»durchgestrichen«Helvetica|12|s», H«Helvetica|12»2«Helvetica|12|tief»O, "
            "10«Helvetica|12»3«Helvetica|12|hoch» m²«Helvetica|12»",
            "[links]Größe und Maß: 4,7 kΩ ± 0,2 °C — „Zitat“ – € 12,50; Backslash \\ und "
            "{geschweifte} Klammern«Helvetica|12»",
        }));
}

void TestRtf::fremdLibreOfficeAuslassungen()
{
    const QByteArray rtf = datei("libreoffice-7.4-auslassungen.rtf");
    QVERIFY(!rtf.isEmpty());
    QTextDocument dokument;
    rtf::Auslassungen a;
    QVERIFY(rtfLesen(rtf, dokument, nullptr, {}, &a));
    QCOMPARE(absatztexte(dokument),
             QStringLiteral("Vor dem Bild\n nach dem Bild\na1\tb1\t\na2\tb2\t\nerster Punkt\n"
                            "zweiter Punkt\ndritter Punkt\nEin gelb hinterlegtes Wort.\n"
                            "Nach dem Seitenumbruch"));
    QCOMPARE(rtf::auslassungenText(a),
             QStringLiteral("Nicht übernommen: 1 Bild, 1 Tabelle (nur ihr Text, Zellen durch "
                            "Tabulatoren getrennt), 3 Aufzählungszeichen, 1 Hervorhebung, "
                            "1 Seitenumbruch."));
}

void TestRtf::rundreise()
{
    QTextDocument original;
    berichtAufbauen(original);
    const QByteArray rtf = rtfSchreiben(original);
    QTextDocument zurueck;
    QString fehler;
    QVERIFY(rtfLesen(rtf, zurueck, &fehler));
    QVERIFY(fehler.isEmpty());
    QCOMPARE(absatztexte(zurueck), absatztexte(original));
    QCOMPARE(zurueck.toPlainText(), original.toPlainText());
    QCOMPARE(laeufe(zurueck), laeufe(original));
    // Writing again gives the same bytes.
    QCOMPARE(rtfSchreiben(zurueck), rtf);
}

// Code page 1212 is SCSU, whose quote tag (0x0f) yields any single UTF-16
// unit, paired or not; \\u can do the same anywhere.
void TestRtf::rundreiseUngepaarteSurrogate_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::newRow("hoch, dann Text") << QByteArray("{\\rtf1\\ansi\\ansicpg1212 a\\'0f\\'d8\\'3db}");
    QTest::newRow("tief allein") << QByteArray("{\\rtf1\\ansi\\ansicpg1212 a\\'0f\\'de\\'01b}");
    QTest::newRow("zwei Einheiten")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1212 \\'0f\\'d8\\'3d\\'0f\\'de\\'01}");
    QTest::newRow("roh im Text") << QByteArray(
        "{\\rtf1\\ansicpg1212{\\fonttbl{\\f0 A;}}\\f0 \x0f\xd8\xcb\x87\xa3"
        "\x0f\xd8\x82 x}");
    QTest::newRow("Schriftname endet halb")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 A\\u-10179?;}}\\f0 x}");
    QTest::newRow("Schriftname am Ende gekappt")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 " + QByteArray(rtf::maxSchriftname - 1, 'N') +
                      "\\u-10179?\\u-8704?;}}\\f0 x}");
    QTest::newRow("Schriftname im Code")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\cpg1212 A\\'0f\\'d8\\'3d;}}\\f0 x}");
    QTest::newRow("in verworfenem Ziel") << QByteArray("{\\rtf1 a{\\*\\foo \\u-10179?}b}");
}

// Whatever the decoder and the escapes give, the document holds no unpaired
// surrogate, neither in its text nor in a font name, and survives being
// written and read again.
void TestRtf::rundreiseUngepaarteSurrogate()
{
    QFETCH(QByteArray, rtf);
    const auto ungepaart = [](const QString &text) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i).isHighSurrogate() && i + 1 < text.size() &&
                text.at(i + 1).isLowSurrogate())
                ++i;
            else if (text.at(i).isSurrogate())
                return i;
        }
        return qsizetype{-1};
    };
    QTextDocument dokument;
    QString fehler;
    QVERIFY(rtfLesen(rtf, dokument, &fehler));
    QCOMPARE(ungepaart(dokument.toPlainText()), -1);
    for (QTextBlock block = dokument.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QStringList familien = it.fragment().charFormat().fontFamilies().toStringList();
            for (const QString &familie : familien)
                QCOMPARE(ungepaart(familie), -1);
        }
    }
    QTextDocument zurueck;
    QVERIFY(rtfLesen(rtfSchreiben(dokument), zurueck, &fehler));
    QCOMPARE(absatztexte(zurueck), absatztexte(dokument));
}

namespace {

struct Ergebnis
{
    bool gestartet = false;
    QString text;
};

Ergebnis ausfuehren(const QString &programm, const QStringList &argumente, int sekunden)
{
    QProcess p;
    p.start(programm, argumente);
    Ergebnis e;
    if (!p.waitForStarted(10000))
        return e;
    e.gestartet = true;
    if (!p.waitForFinished(sekunden * 1000)) {
        p.kill();
        p.waitForFinished(5000);
        e.text = QStringLiteral("<Zeitüberschreitung>");
        return e;
    }
    e.text = QString::fromUtf8(p.readAllStandardOutput());
    return e;
}

// The lines with text, blanks at either end removed: peers differ in how
// they render blank lines and leading blanks of a paragraph.
QStringList textzeilen(const QString &text)
{
    QStringList zeilen;
    for (QString zeile : text.split(QLatin1Char('\n'))) {
        zeile.remove(QLatin1Char('\r'));
        zeile.replace(QChar(0x00A0), QLatin1Char(' '));
        zeile = zeile.trimmed();
        if (!zeile.isEmpty())
            zeilen << zeile;
    }
    return zeilen;
}

} // namespace

void TestRtf::rundreiseMitUnrtf()
{
    if (QStandardPaths::findExecutable("unrtf").isEmpty()) {
        if (imCi())
            QFAIL("unrtf fehlt");
        QSKIP("unrtf ist nicht installiert");
    }
    QTextDocument dokument;
    berichtAufbauen(dokument);
    QTemporaryDir verzeichnis;
    QVERIFY(verzeichnis.isValid());
    const QString pfad = verzeichnis.filePath("bericht.rtf");
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(rtfSchreiben(dokument));
    f.close();

    // --text writes Latin-1, drops the em dash, turns Omega into "?" and
    // breaks lines at tabs: compare the ASCII letters of the whole text.
    auto ascii = [](const QString &text) {
        QString ergebnis;
        for (const QChar c : text)
            ergebnis += (c.unicode() >= 0x20 && c.unicode() < 0x7F && c != QLatin1Char('?'))
                            ? c
                            : QChar(c.isSpace() ? ' ' : '\0');
        ergebnis.remove(QChar('\0'));
        return ergebnis.simplified();
    };
    const Ergebnis text = ausfuehren("unrtf", {"--text", pfad}, 60);
    QVERIFY(text.gestartet);
    QStringList zeilen = text.text.split(QLatin1Char('\n'));
    zeilen.removeIf([](const QString &z) { return z.startsWith(QLatin1String("###")); });
    zeilen.removeAll(QStringLiteral("-----------------"));
    QCOMPARE(ascii(zeilen.join('\n')), ascii(dokument.toPlainText()));

    // --html keeps every character and the formats. unrtf collapses runs of
    // blanks, so the lines are compared with blanks simplified.
    const Ergebnis html = ausfuehren("unrtf", {"--html", pfad}, 60);
    QVERIFY(html.gestartet);
    QTextDocument gelesen;
    gelesen.setHtml(html.text);
    auto zeilenOhneLeer = [](const QString &text) {
        QStringList l;
        for (const QString &z : text.split(QLatin1Char('\n')))
            if (!z.simplified().isEmpty())
                l << z.simplified();
        return l;
    };
    QCOMPARE(zeilenOhneLeer(gelesen.toPlainText()), zeilenOhneLeer(dokument.toPlainText()));
    QCOMPARE(html.text.count("<center>"), 2);
    for (const char *merkmal : {"<b><font color=\"#800080\">Varolinaten-Berechnung", "<sub>2</sub>",
                                "<sup>3</sup>", "<i>kursiv</i>", "<u>unterstrichen</u>",
                                "<s>gestrichen</s>", "face=\"Tahoma\"", "face=\"Courier New\""})
        QVERIFY2(html.text.contains(QLatin1String(merkmal)), merkmal);
}

void TestRtf::rundreiseMitLibreOffice()
{
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty()) {
        if (imCi())
            QFAIL("LibreOffice (soffice) fehlt");
        QSKIP("LibreOffice ist nicht installiert");
    }
    QTextDocument dokument;
    berichtAufbauen(dokument);
    QTemporaryDir verzeichnis;
    QVERIFY(verzeichnis.isValid());
    const QString pfad = verzeichnis.filePath("bericht.rtf");
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(rtfSchreiben(dokument));
    f.close();
    const QString profil = QUrl::fromLocalFile(verzeichnis.filePath("profil")).toString();
    const Ergebnis e = ausfuehren(soffice,
                                  {"-env:UserInstallation=" + profil, "--headless",
                                   "--infilter=Rich Text Format", "--convert-to",
                                   "txt:Text (encoded):UTF8", "--outdir", verzeichnis.path(), pfad},
                                  240);
    QVERIFY(e.gestartet);
    QFile txt(verzeichnis.filePath("bericht.txt"));
    QVERIFY2(txt.open(QIODevice::ReadOnly), qPrintable(e.text));
    QString text = QString::fromUtf8(txt.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QString erwartet = dokument.toPlainText();
    QCOMPARE(textzeilen(text), textzeilen(erwartet));
    // LibreOffice keeps empty paragraphs: the paragraph count must match too.
    QCOMPARE(text.split('\n').size() - (text.endsWith('\n') ? 1 : 0), dokument.blockCount());

    // The formats as LibreOffice understood them, from its flat XML format.
    const Ergebnis odt =
        ausfuehren(soffice,
                   {"-env:UserInstallation=" + profil, "--headless", "--infilter=Rich Text Format",
                    "--convert-to", "fodt", "--outdir", verzeichnis.path(), pfad},
                   240);
    QVERIFY(odt.gestartet);
    QFile fodt(verzeichnis.filePath("bericht.fodt"));
    QVERIFY2(fodt.open(QIODevice::ReadOnly), qPrintable(odt.text));
    const QByteArray xml = fodt.readAll();
    for (const char *merkmal :
         {"fo:text-align=\"center\"", "fo:font-weight=\"bold\"", "fo:color=\"#800080\"",
          "fo:color=\"#ff0000\"", "fo:font-size=\"16pt\"", "fo:font-size=\"8pt\"",
          "fo:font-size=\"10.5pt\"", "style:text-position=\"sub ", "style:text-position=\"super ",
          "fo:font-style=\"italic\"", "style:text-underline-style=\"solid\"",
          "style:text-line-through-style=\"solid\"", "style:font-name=\"Courier New\"",
          "style:font-name=\"Tahoma\""})
        QVERIFY2(xml.contains(merkmal), merkmal);
}

QTEST_MAIN(TestRtf)
#include "tst_rtf.moc"
