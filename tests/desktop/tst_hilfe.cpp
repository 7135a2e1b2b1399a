#include "fake_oberflaeche.h"
#include "hilfe.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace varo;

namespace {

const QString crlf = QStringLiteral("\r\n");

QString fehltText(const QString &pfad)
{
    return QStringLiteral("Die Datei ") + crlf + pfad + crlf +
           QStringLiteral("ist nicht vorhanden!") + crlf +
           QStringLiteral("Bitte selbst nach der Datei suchen.");
}

QString keinProgrammText(const QString &pfad)
{
    return QStringLiteral("Acrobat Reader o.ä. nicht gefunden!") + crlf +
           QStringLiteral("Hilfe finden Sie in der Datei ") + crlf + pfad + crlf;
}

// Answers the lookup with a fixed text and records every call.
class FakePlattform : public Plattform
{
public:
    QString antwort;
    QStringList anfragen;
    struct Start
    {
        QString programm, dokument, befehlszeile;
    };
    QList<Start> starts;

    QString zugeordnetesProgramm(const QString &dokument) override
    {
        anfragen << dokument;
        return antwort;
    }
    void starten(const QString &programm, const QString &dokument,
                 const QString &befehlszeile) override
    {
        starts.append({programm, dokument, befehlszeile});
    }
};

// The real desktop, with the starts recorded before they happen.
class ProtokollPlattform : public DesktopPlattform
{
public:
    QStringList gestartet;
    void starten(const QString &programm, const QString &dokument,
                 const QString &befehlszeile) override
    {
        gestartet << programm;
        DesktopPlattform::starten(programm, dokument, befehlszeile);
    }
};

// Puts a path into a pattern that may or may not hold the place "%1".
QString einsetzen(QString muster, const QString &wert)
{
    return muster.replace(QLatin1String("%1"), wert);
}

bool schreiben(const QString &pfad, const QByteArray &inhalt)
{
    QDir().mkpath(QFileInfo(pfad).absolutePath());
    QFile f(pfad);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(inhalt) == inhalt.size();
}

} // namespace

class TestHilfe : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void dokumentFehlt_data();
    void dokumentFehlt();
    void programmStarten_data();
    void programmStarten();
    void unbrauchbaresProgramm_data();
    void unbrauchbaresProgramm();
    void betrachterGestartet_data();
    void betrachterGestartet();
    void keinProgramm_data();
    void keinProgramm();
    void fundorte_data();
    void fundorte();
    void execArgumente_data();
    void execArgumente();
    void execProgramm_data();
    void execProgramm();
    void hilfedokumentImProgrammordner();
    void hilfeBeschreibtJedesFenster_data();
    void hilfeBeschreibtJedesFenster();

private:
    QString pfad(const QString &relativ) const { return m_tmp->filePath(relativ); }
    void pfadSetzen(bool mitXdgMime);
    QString betrachterAnlegen(const QString &relativ);
    void eintragAnlegen(const QString &ordner, const QString &id, const QString &exec);
    void standardSetzen(const QString &ordner, const QString &liste,
                        const QString &datei = QStringLiteral("mimeapps.list"));
    QString hilfeAnlegen(const QString &ordner);
    QStringList aufzeichnung() const;

    std::unique_ptr<QTemporaryDir> m_tmp;
    QHash<QByteArray, QByteArray> m_gesichert;
    QString m_systemPfad;
};

static const QByteArrayList umgebung = {"HOME",
                                        "PATH",
                                        "XDG_DATA_HOME",
                                        "XDG_DATA_DIRS",
                                        "XDG_CONFIG_HOME",
                                        "XDG_CONFIG_DIRS",
                                        "XDG_CURRENT_DESKTOP",
                                        "DESKTOP_SESSION",
                                        "KDE_FULL_SESSION",
                                        "GNOME_DESKTOP_SESSION_ID",
                                        "XDG_SESSION_DESKTOP",
                                        "XDG_MENU_PREFIX"};

void TestHilfe::initTestCase()
{
    for (const QByteArray &name : umgebung)
        if (qEnvironmentVariableIsSet(name.constData()))
            m_gesichert.insert(name, qgetenv(name.constData()));
    m_systemPfad = qEnvironmentVariable("PATH");
}

void TestHilfe::init()
{
    m_tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tmp->isValid());
    // A desktop of our own: no session hints, so xdg-mime takes the plain
    // freedesktop.org files, and nothing of the real user's settings.
    for (const QByteArray &name : umgebung)
        qunsetenv(name.constData());
    qputenv("HOME", pfad("heim").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", pfad("konfig").toLocal8Bit());
    qputenv("XDG_CONFIG_DIRS", pfad("etc-xdg").toLocal8Bit());
    qputenv("XDG_DATA_HOME", pfad("daten").toLocal8Bit());
    qputenv("XDG_DATA_DIRS", (pfad("share1") + ':' + pfad("share2")).toLocal8Bit());
    QDir().mkpath(pfad("bin"));
    pfadSetzen(true);
}

void TestHilfe::cleanup()
{
    m_tmp.reset();
}

void TestHilfe::cleanupTestCase()
{
    for (const QByteArray &name : umgebung) {
        if (m_gesichert.contains(name))
            qputenv(name.constData(), m_gesichert.value(name));
        else
            qunsetenv(name.constData());
    }
}

// Without the system folders in PATH xdg-mime is not found and the lookup
// reads mimeapps.list itself.
void TestHilfe::pfadSetzen(bool mitXdgMime)
{
    QString wert = pfad("bin");
    if (mitXdgMime)
        wert += QLatin1Char(':') + m_systemPfad;
    qputenv("PATH", wert.toLocal8Bit());
}

QString TestHilfe::betrachterAnlegen(const QString &relativ)
{
    QString programm = pfad(relativ);
    const QString protokoll = pfad("aufzeichnung.txt");
    // Writes the arguments one per line, then renames, so a reader never
    // sees half a record.
    const QByteArray skript = "#!/bin/sh\n"
                              "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                              protokoll.toLocal8Bit() + ".neu'\n" + "/bin/mv '" +
                              protokoll.toLocal8Bit() + ".neu' '" + protokoll.toLocal8Bit() + "'\n";
    if (!schreiben(programm, skript))
        return {};
    QFile::setPermissions(programm, QFile::permissions(programm) | QFile::ExeOwner |
                                        QFile::ExeUser | QFile::ReadOwner);
    return programm;
}

void TestHilfe::eintragAnlegen(const QString &ordner, const QString &id, const QString &exec)
{
    QVERIFY(schreiben(pfad(ordner + QLatin1Char('/') + id),
                      "[Desktop Entry]\nType=Application\nName=Betrachter\nName[de]=Betrachter\n"
                      "MimeType=application/pdf;\nExec=" +
                          exec.toUtf8() + "\n\n[Desktop Action neu]\nExec=falsch %f\n"));
}

void TestHilfe::standardSetzen(const QString &ordner, const QString &liste, const QString &datei)
{
    QVERIFY(schreiben(pfad(ordner + QLatin1Char('/') + datei),
                      "[Added Associations]\napplication/pdf=falsch.desktop;\n\n"
                      "[Default Applications]\ntext/plain=falsch.desktop\napplication/pdf=" +
                          liste.toUtf8() + "\n"));
}

QString TestHilfe::hilfeAnlegen(const QString &ordner)
{
    QString dokument = pfad(ordner + QStringLiteral("/Varolinaten.pdf"));
    if (!schreiben(dokument, "%PDF-1.4\n%%EOF\n"))
        return {};
    return dokument;
}

QStringList TestHilfe::aufzeichnung() const
{
    QFile f(m_tmp->filePath("aufzeichnung.txt"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList zeilen = QString::fromLocal8Bit(f.readAll()).split(QLatin1Char('\n'));
    if (!zeilen.isEmpty() && zeilen.last().isEmpty())
        zeilen.removeLast();
    return zeilen;
}

void TestHilfe::dokumentFehlt_data()
{
    QTest::addColumn<QString>("ordner");
    QTest::addColumn<QString>("dokument");
    QTest::addColumn<bool>("alsOrdner");
    QTest::newRow("leerer Programmordner") << "prog"
                                           << "prog/Varolinaten.pdf" << false;
    QTest::newRow("Varolinaten.pdf ist ein Ordner") << "prog"
                                                    << "prog/Varolinaten.pdf" << true;
    QTest::newRow("Ordner mit Leerzeichen") << "Mein Programm"
                                            << "Mein Programm/Varolinaten.pdf" << false;
}

void TestHilfe::dokumentFehlt()
{
    QFETCH(QString, ordner);
    QFETCH(QString, dokument);
    QFETCH(bool, alsOrdner);
    QDir().mkpath(pfad(ordner));
    if (alsOrdner)
        QDir().mkpath(pfad(dokument));
    FakeOberflaeche ui;
    FakePlattform plattform;
    plattform.antwort = QStringLiteral("/bin/sh");

    hilfeOeffnen(pfad(ordner), ui, plattform);

    QCOMPARE(ui.meldungen.size(), 1);
    QCOMPARE(ui.meldungen[0].titel, QStringLiteral(" Datei nicht gefunden"));
    QCOMPARE(ui.meldungen[0].text, fehltText(pfad(dokument)));
    QCOMPARE(ui.meldungen[0].symbol, Symbol::Stopp);
    QCOMPARE(ui.meldungen[0].knoepfe, Knoepfe::Ok);
    QVERIFY(plattform.anfragen.isEmpty());
    QVERIFY(plattform.starts.isEmpty());
}

void TestHilfe::programmStarten_data()
{
    QTest::addColumn<QString>("programm");
    QTest::addColumn<QString>("dokument");
    QTest::addColumn<QString>("zurueck");
    QTest::addColumn<QString>("befehlszeile");
    QTest::newRow("/opt/v /p/Varolinaten.pdf") << "/opt/v"
                                               << "/p/Varolinaten.pdf"
                                               << "\"/p/Varolinaten.pdf\""
                                               << "/opt/v \"/p/Varolinaten.pdf\"";
    QTest::newRow("/opt/Pdf Betrachter/v /Mein Programm/Varolinaten.pdf")
        << "/opt/Pdf Betrachter/v"
        << "/Mein Programm/Varolinaten.pdf"
        << "\"/Mein Programm/Varolinaten.pdf\""
        << "/opt/Pdf Betrachter/v \"/Mein Programm/Varolinaten.pdf\"";
    QTest::newRow("/opt/v /P/HILFE.PDF") << "/opt/v"
                                         << "/P/HILFE.PDF"
                                         << "\"/P/HILFE.PDF\""
                                         << "/opt/v \"/P/HILFE.PDF\"";
    QTest::newRow("/opt/v /p/a.pdf.txt") << "/opt/v"
                                         << "/p/a.pdf.txt"
                                         << "\"/p/a.pdf.txt\""
                                         << "/opt/v \"/p/a.pdf.txt\"";
    QTest::newRow("/opt/v /Mein Ordner/hilfe.txt") << "/opt/v"
                                                   << "/Mein Ordner/hilfe.txt"
                                                   << "/Mein Ordner/hilfe.txt"
                                                   << "/opt/v /Mein Ordner/hilfe.txt";
}

void TestHilfe::programmStarten()
{
    QFETCH(QString, programm);
    QFETCH(QString, dokument);
    QFETCH(QString, zurueck);
    QFETCH(QString, befehlszeile);
    FakeOberflaeche ui;
    FakePlattform plattform;
    const QString ohneAnfuehrung = dokument;

    ProgrammStarten(programm, dokument, plattform, ui);

    QCOMPARE(dokument, zurueck);
    QCOMPARE(plattform.starts.size(), 1);
    QCOMPARE(plattform.starts[0].programm, programm);
    QCOMPARE(plattform.starts[0].dokument, ohneAnfuehrung);
    QCOMPARE(plattform.starts[0].befehlszeile, befehlszeile);
    QCOMPARE(ui.ereignisse, 1);
    QVERIFY(ui.meldungen.isEmpty());
}

// Answers of the desktop that name no usable program. "%1" stands for the
// temporary folder, "%d" for the help document itself.
void TestHilfe::unbrauchbaresProgramm_data()
{
    QTest::addColumn<QString>("antwort");
    QTest::newRow("leer") << QString();
    QTest::newRow("das Dokument selbst") << "%d";
    QTest::newRow("gelöschtes Programm") << "%1/weg/betrachter";
    QTest::newRow("Ordner statt Programm") << "%1/prog";
}

void TestHilfe::unbrauchbaresProgramm()
{
    QFETCH(QString, antwort);
    const QString dokument = hilfeAnlegen(QStringLiteral("prog"));
    QVERIFY(!dokument.isEmpty());
    FakeOberflaeche ui;
    FakePlattform plattform;
    plattform.antwort = einsetzen(antwort, m_tmp->path()).replace(QLatin1String("%d"), dokument);

    hilfeOeffnen(pfad("prog"), ui, plattform);

    QCOMPARE(plattform.anfragen, QStringList{dokument});
    QVERIFY(plattform.starts.isEmpty());
    QCOMPARE(ui.meldungen.size(), 1);
    QCOMPARE(ui.meldungen[0].titel, QStringLiteral(" Hilfe"));
    QCOMPARE(ui.meldungen[0].text, keinProgrammText(dokument));
    QCOMPARE(ui.meldungen[0].symbol, Symbol::Stopp);
    QCOMPARE(ui.meldungen[0].knoepfe, Knoepfe::Ok);
}

void TestHilfe::betrachterGestartet_data()
{
    QTest::addColumn<bool>("mitXdgMime");
    QTest::addColumn<QString>("programmordner");
    QTest::addColumn<QString>("betrachter");
    QTest::addColumn<QString>("exec"); // %1 = full path of the viewer
    for (bool xdgMime : {true, false}) {
        const char *art = xdgMime ? "xdg-mime" : "mimeapps.list";
        QTest::addRow("%s: Name im PATH", art) << xdgMime << "prog"
                                               << "bin/fakeviewer"
                                               << "fakeviewer %U";
        QTest::addRow("%s: Leerzeichen in beiden Ordnern", art) << xdgMime << "Mein Programm"
                                                                << "Pdf Betrachter/fake viewer"
                                                                << "\"%1\" --vollbild %f";
    }
}

void TestHilfe::betrachterGestartet()
{
    QFETCH(bool, mitXdgMime);
    QFETCH(QString, programmordner);
    QFETCH(QString, betrachter);
    QFETCH(QString, exec);
    pfadSetzen(mitXdgMime);
    const QString programm = betrachterAnlegen(betrachter);
    QVERIFY(!programm.isEmpty());
    eintragAnlegen(QStringLiteral("daten/applications"), QStringLiteral("fake-viewer.desktop"),
                   einsetzen(exec, programm));
    standardSetzen(QStringLiteral("konfig"), QStringLiteral("fake-viewer.desktop;"));
    const QString dokument = hilfeAnlegen(programmordner);
    QVERIFY(!dokument.isEmpty());

    ProtokollPlattform plattform;
    QCOMPARE(ProgrammZuDatei(dokument, plattform), programm);

    FakeOberflaeche ui;
    hilfeOeffnen(pfad(programmordner), ui, plattform);
    QVERIFY(ui.meldungen.isEmpty());
    QCOMPARE(plattform.gestartet, QStringList{programm});
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(pfad("aufzeichnung.txt")), 10000);
    QCOMPARE(aufzeichnung(), QStringList{dokument});
}

void TestHilfe::keinProgramm_data()
{
    QTest::addColumn<bool>("mitXdgMime");
    QTest::addColumn<QString>("liste");
    QTest::addColumn<QString>("exec");
    for (bool xdgMime : {true, false}) {
        const char *art = xdgMime ? "xdg-mime" : "mimeapps.list";
        QTest::addRow("%s: keine Zuordnung", art) << xdgMime << QString() << QString();
        QTest::addRow("%s: Programm gelöscht", art) << xdgMime << "fake-viewer.desktop"
                                                    << "\"%1/weg/viewer\" %f";
        QTest::addRow("%s: Programm nicht im PATH", art) << xdgMime << "fake-viewer.desktop"
                                                         << "gibtsnicht %f";
        QTest::addRow("%s: Eintrag fehlt", art) << xdgMime << "anderer.desktop" << QString();
        QTest::addRow("%s: Eintrag ohne Exec", art) << xdgMime << "fake-viewer.desktop"
                                                    << "";
    }
}

void TestHilfe::keinProgramm()
{
    QFETCH(bool, mitXdgMime);
    QFETCH(QString, liste);
    QFETCH(QString, exec);
    pfadSetzen(mitXdgMime);
    QVERIFY(!betrachterAnlegen(QStringLiteral("bin/fakeviewer")).isEmpty());
    if (!liste.isEmpty())
        standardSetzen(QStringLiteral("konfig"), liste);
    if (!exec.isNull())
        eintragAnlegen(QStringLiteral("daten/applications"), QStringLiteral("fake-viewer.desktop"),
                       einsetzen(exec, m_tmp->path()));
    const QString dokument = hilfeAnlegen(QStringLiteral("prog"));
    QVERIFY(!dokument.isEmpty());

    FakeOberflaeche ui;
    ProtokollPlattform plattform;
    hilfeOeffnen(pfad("prog"), ui, plattform);

    QVERIFY(plattform.gestartet.isEmpty());
    QCOMPARE(ui.meldungen.size(), 1);
    QCOMPARE(ui.meldungen[0].titel, QStringLiteral(" Hilfe"));
    QCOMPARE(ui.meldungen[0].text, keinProgrammText(dokument));
    QCOMPARE(ui.meldungen[0].symbol, Symbol::Stopp);
    QCOMPARE(ui.meldungen[0].knoepfe, Knoepfe::Ok);
}

// Where the default application may be recorded, each alone.
void TestHilfe::fundorte_data()
{
    QTest::addColumn<bool>("mitXdgMime");
    QTest::addColumn<QString>("listenOrdner");
    QTest::addColumn<QString>("listenDatei");
    QTest::addColumn<QString>("liste");
    QTest::addColumn<QString>("eintragOrdner");
    QTest::addColumn<QString>("eintrag");
    QTest::addColumn<QString>("desktop");
    for (bool xdgMime : {true, false}) {
        const char *art = xdgMime ? "xdg-mime" : "mimeapps.list";
        QTest::addRow("%s: XDG_CONFIG_DIRS", art) << xdgMime << "etc-xdg"
                                                  << "mimeapps.list"
                                                  << "fake.desktop"
                                                  << "daten/applications"
                                                  << "fake.desktop" << QString();
        QTest::addRow("%s: XDG_DATA_HOME/applications", art) << xdgMime << "daten/applications"
                                                             << "mimeapps.list"
                                                             << "fake.desktop"
                                                             << "share2/applications"
                                                             << "fake.desktop" << QString();
        QTest::addRow("%s: XDG_DATA_DIRS/applications", art) << xdgMime << "share2/applications"
                                                             << "mimeapps.list"
                                                             << "fake.desktop"
                                                             << "share1/applications"
                                                             << "fake.desktop" << QString();
        QTest::addRow("%s: erster Eintrag fehlt", art) << xdgMime << "konfig"
                                                       << "mimeapps.list"
                                                       << "fehlt.desktop;fake.desktop;"
                                                       << "share1/applications"
                                                       << "fake.desktop" << QString();
        QTest::addRow("%s: Arbeitsumgebung", art) << xdgMime << "konfig"
                                                  << "probe-mimeapps.list"
                                                  << "fake.desktop"
                                                  << "daten/applications"
                                                  << "fake.desktop"
                                                  << "Probe";
        QTest::addRow("%s: defaults.list", art) << xdgMime << "share1/applications"
                                                << "defaults.list"
                                                << "fake.desktop"
                                                << "share1/applications"
                                                << "fake.desktop" << QString();
    }
    QTest::newRow("mimeapps.list: Unterordner") << false << "konfig"
                                                << "mimeapps.list"
                                                << "kde4-fake.desktop"
                                                << "share1/applications"
                                                << "kde4/fake.desktop" << QString();
}

void TestHilfe::fundorte()
{
    QFETCH(bool, mitXdgMime);
    QFETCH(QString, listenOrdner);
    QFETCH(QString, listenDatei);
    QFETCH(QString, liste);
    QFETCH(QString, eintragOrdner);
    QFETCH(QString, eintrag);
    QFETCH(QString, desktop);
    pfadSetzen(mitXdgMime);
    if (!desktop.isEmpty())
        qputenv("XDG_CURRENT_DESKTOP", desktop.toUtf8());
    const QString programm = betrachterAnlegen(QStringLiteral("bin/fakeviewer"));
    eintragAnlegen(eintragOrdner, eintrag, QStringLiteral("env LANG=C fakeviewer %f"));
    QVERIFY(schreiben(pfad(listenOrdner + QLatin1Char('/') + listenDatei),
                      "[Default Applications]\napplication/pdf=" + liste.toUtf8() + "\n"));

    DesktopPlattform plattform;
    QCOMPARE(ProgrammZuDatei(pfad("prog/Varolinaten.pdf"), plattform), programm);
}

void TestHilfe::execArgumente_data()
{
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QStringList>("erwartet");
    QTest::newRow("evince %U") << "evince %U" << QStringList{"evince"};
    QTest::newRow("okular %u %i %c") << "okular %u %i %c" << QStringList{"okular"};
    QTest::newRow("\"/opt/Mein Viewer/v\" --vollbild %f")
        << "\"/opt/Mein Viewer/v\" --vollbild %f"
        << QStringList{"/opt/Mein Viewer/v", "--vollbild"};
    QTest::newRow("v --zoom=100%% %F") << "v --zoom=100%% %F" << QStringList{"v", "--zoom=100%"};
    QTest::newRow("v --datei=%f") << "v --datei=%f" << QStringList{"v", "--datei="};
    QTest::newRow("\"Mein\\sViewer\" %f") << "\"Mein\\sViewer\" %f" << QStringList{"Mein Viewer"};
    QTest::newRow("Mein\\sViewer %f") << "Mein\\sViewer %f" << QStringList{"Mein", "Viewer"};
    QTest::newRow("\"/opt/a\\\\\\\\b/v\"") << "\"/opt/a\\\\\\\\b/v\"" << QStringList{"/opt/a\\b/v"};
    QTest::newRow("\"sag \\\\\"hallo\\\\\"\"")
        << "\"sag \\\\\"hallo\\\\\"\"" << QStringList{"sag \"hallo\""};
    QTest::newRow("  v\t  %f  ") << "  v\t  %f  " << QStringList{"v"};
    QTest::newRow("v \"\"") << "v \"\"" << QStringList{"v", ""};
    QTest::newRow("\"offen") << "\"offen" << QStringList{"offen"};
    QTest::newRow("%f") << "%f" << QStringList{};
    QTest::newRow("leer") << "" << QStringList{};
}

void TestHilfe::execArgumente()
{
    QFETCH(QString, exec);
    QFETCH(QStringList, erwartet);
    QCOMPARE(xdg::execArgumente(exec), erwartet);
}

void TestHilfe::execProgramm_data()
{
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QString>("erwartet"); // %1 = the temporary folder
    QTest::newRow("fakeviewer %f") << "fakeviewer %f"
                                   << "%1/bin/fakeviewer";
    QTest::newRow("env LANG=C A=1 fakeviewer %f") << "env LANG=C A=1 fakeviewer %f"
                                                  << "%1/bin/fakeviewer";
    QTest::newRow("/gibt/es/nicht %f") << "/gibt/es/nicht %f"
                                       << "/gibt/es/nicht";
    QTest::newRow("gibtsnicht %f") << "gibtsnicht %f" << QString();
    QTest::newRow("env LANG=C") << "env LANG=C" << QString();
    QTest::newRow("leer") << "" << QString();
}

void TestHilfe::execProgramm()
{
    QFETCH(QString, exec);
    QFETCH(QString, erwartet);
    pfadSetzen(false);
    QVERIFY(!betrachterAnlegen(QStringLiteral("bin/fakeviewer")).isEmpty());
    QCOMPARE(xdg::execProgramm(exec), einsetzen(erwartet, m_tmp->path()));
}

// The build puts the help document beside the program; it must hold what
// a user looks for.
void TestHilfe::hilfedokumentImProgrammordner()
{
    const QString ordner = QStringLiteral(VARO_BINDIR);
    const QString dokument = ordner + QStringLiteral("/Varolinaten.pdf");
    FakeOberflaeche ui;
    QVERIFY(DateiVorhanden(dokument, ui));
    QVERIFY(ui.meldungen.isEmpty());
    QFile f(dokument);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.read(5), QByteArray("%PDF-"));
    f.close();

    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"),
                                                             m_systemPfad.split(QLatin1Char(':')));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QProcess prozess;
    prozess.start(pdftotext,
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), dokument, QStringLiteral("-")});
    QVERIFY(prozess.waitForFinished(30000));
    QCOMPARE(prozess.exitCode(), 0);
    const QString text = QString::fromUtf8(prozess.readAllStandardOutput());
    for (const char *gesucht : {"Varolinaten",
                                "ungünstig",
                                "Dämpfung [dB]",
                                "Strg+O",
                                "Strg+S",
                                "Strg+D",
                                "Strg+B",
                                "Strg+F",
                                "F1",
                                "F2",
                                "F3",
                                "F4",
                                "F5",
                                "F6",
                                "Kabel.txt",
                                "d=100/6,8",
                                "Seite 2",
                                "Abweichung",
                                "grün",
                                "magenta",
                                "rot",
                                "Varolinaten-Berechnung_JJJJMMTT.rtf",
                                "varolinaten-bericht",
                                "--seitenlaenge",
                                "--oeffnen",
                                "--kurve"})
        QVERIFY2(text.contains(QString::fromUtf8(gesucht)), gesucht);
    QVERIFY2(!text.contains(QLatin1String("@VERSION@")), "version placeholder left in the text");
}

void TestHilfe::hilfeBeschreibtJedesFenster_data()
{
    // What a user of each window looks for: its key, its name, the option
    // of the report tool and a line of the example the tool wrote at build
    // time.
    QTest::addColumn<QStringList>("gesucht");
    QTest::newRow("Leitungsanalyse") << QStringList{
        "Leitungsanalyse (F7)",        "R + jX", "--analyse", "--lastr", "f/MHz;R/Ohm;X/Ohm",
        "7,1;458,1401378;-54,55090361"};
    QTest::newRow("Längenplaner") << QStringList{"Längenplaner (F8)",
                                                 "An das Hauptfenster",
                                                 "--planer",
                                                 "--baender",
                                                 "Varolinaten-Planung",
                                                 "Beste Länge        : 27,452 m, Abstand 47,56°"};
    QTest::newRow("Tastentabelle")
        << QStringList{"Leitungsanalyse F7 Abschnitt 8", "Längenplaner F8 Abschnitt 9"};
    // The measured examples: the CSV headers and the arrangement's name the
    // tool wrote for the example files beside the help source.
    QTest::newRow("Messdatei in der Leitungsanalyse")
        << QStringList{"Gemessene Antenne: die Messdatei",
                       "am Sender, durch dieses Kabel",
                       "Touchstone 2.0",
                       "Smith-Diagramm",
                       "# MHz S RI R 50",
                       "--messung DATEI",
                       "--messort antenne|sender",
                       "--anpassung",
                       "--smith",
                       "f/MHz;R Sender/Ohm;X Sender/Ohm;R Antenne/Ohm;X Antenne/Ohm;SWR Sender",
                       "f/MHz;Schaltung;X Reihe/Ohm;X Quer/Ohm;Reihe;Quer",
                       "7,1;Quer am Kabel;"};
    QTest::newRow("Kabel vermessen")
        << QStringList{"Kabel vermessen (F9)", "In eigene Kabeltabelle übernehmen",
                       "Auf Resonanz kürzen",  "--vermessen",
                       "--offen DATEI",        "Elektrische Länge:",
                       "Ω (gemessen)",         "Neue Länge:",
                       "RG-213 Rolle 2 d="};
    QTest::newRow("eigene Kabeltabelle")
        << QStringList{"Die eigene Kabeltabelle", "$XDG_DATA_HOME/varolinaten/Kabel.txt",
                       "Eigene Kabeltabelle bearbeiten …", "--kabeltabelle DATEI"};
    QTest::newRow("Tastentabelle, neue Einträge") << QStringList{
        "Kabel vermessen … F9 Abschnitt 10", "Eigene Kabeltabelle bearbeiten … Abschnitt 11"};
}

void TestHilfe::hilfeBeschreibtJedesFenster()
{
    QFETCH(QStringList, gesucht);
    // The filled HTML beside the help PDF holds the same text, examples
    // included, without the PDF's line breaks; tags count as blanks.
    QFile f(QStringLiteral(VARO_BINDIR "/Varolinaten-Hilfe.html"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(f.readAll());
    text.replace(QRegularExpression(QStringLiteral("<[^>]*>")), QStringLiteral(" "));
    text.replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
    text = text.simplified();
    for (const QString &teil : gesucht)
        QVERIFY2(text.contains(teil.simplified()), qPrintable(teil));
    // No longer the program of three questions and one picture.
    QVERIFY(!text.contains(QStringLiteral("drei Fragen")));
}

QTEST_GUILESS_MAIN(TestHilfe)
#include "tst_hilfe.moc"
