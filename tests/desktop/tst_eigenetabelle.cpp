// "Eigene Kabeltabelle bearbeiten …": created with its head when missing,
// then handed to the program the desktop associates with it.

#include "eigenetabelle.h"
#include "fake_oberflaeche.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace varo;

namespace {

class FakePlattform : public Plattform
{
public:
    QString programm;
    QStringList gestartet; // document, then command line, per start

    QString zugeordnetesProgramm(const QString &) override { return programm; }
    void starten(const QString &, const QString &dokument, const QString &befehlszeile) override
    {
        gestartet << dokument << befehlszeile;
    }
};

} // namespace

class TstEigeneTabelle : public QObject
{
    Q_OBJECT

private slots:
    void bearbeiten_data();
    void bearbeiten();
};

void TstEigeneTabelle::bearbeiten_data()
{
    QTest::addColumn<QByteArray>("vorher"); // empty: no file yet
    QTest::addColumn<QString>("programm");
    QTest::addColumn<QString>("meldung"); // part of the one message; empty: none
    QTest::newRow("neu") << QByteArray() << "/usr/bin/editor"
                         << "";
    QTest::newRow("vorhanden bleibt") << QByteArray("0,8 Meins\n") << "/usr/bin/editor"
                                      << "";
    QTest::newRow("kein Programm") << QByteArray() << ""
                                   << "kein Programm eingetragen";
}

void TstEigeneTabelle::bearbeiten()
{
    QFETCH(QByteArray, vorher);
    QFETCH(QString, programm);
    QFETCH(QString, meldung);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pfad = dir.filePath(QStringLiteral("mit Leerzeichen/varolinaten/Kabel.txt"));
    if (!vorher.isEmpty()) {
        QVERIFY(QDir().mkpath(QFileInfo(pfad).path()));
        QFile datei(pfad);
        QVERIFY(datei.open(QIODevice::WriteOnly));
        datei.write(vorher);
    }
    FakeOberflaeche ui;
    FakePlattform plattform;
    plattform.programm = programm;
    eigeneKabeltabelleBearbeiten(pfad, ui, plattform);

    QFile datei(pfad);
    QVERIFY(datei.open(QIODevice::ReadOnly));
    const QByteArray inhalt = datei.readAll();
    if (vorher.isEmpty())
        QVERIFY(inhalt.startsWith("; Eigene Kabeltabelle"));
    else
        QCOMPARE(inhalt, vorher);
    if (meldung.isEmpty()) {
        QVERIFY(ui.meldungen.isEmpty());
        QCOMPARE(plattform.gestartet,
                 (QStringList{pfad, programm + QStringLiteral(" \"") + pfad + QLatin1Char('"')}));
    } else {
        QCOMPARE(ui.meldungen.size(), 1);
        QVERIFY(ui.meldungen.first().text.contains(meldung));
        QVERIFY(ui.meldungen.first().text.contains(pfad));
        QVERIFY(plattform.gestartet.isEmpty());
    }
}

QTEST_GUILESS_MAIN(TstEigeneTabelle)
#include "tst_eigenetabelle.moc"
