#include "hilfe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <algorithm>
#include <qt_windows.h>
#include <shellapi.h>
#ifdef _MSC_VER
#pragma comment(lib, "shell32.lib")
#endif
#include <vector>
#endif

namespace varo {

namespace {

// CR LF, as in every multi-line message of the program.
constexpr QLatin1String zeilenEnde("\r\n");

} // namespace

bool normaleDatei(const QString &pfad)
{
    if (pfad.isEmpty())
        return false;
    const QFileInfo info(pfad);
    return info.isFile() && !info.isHidden();
}

bool DateiVorhanden(const QString &pfad, Oberflaeche &ui)
{
    if (normaleDatei(pfad))
        return true;
    ui.meldung(QStringLiteral("Die Datei ") + zeilenEnde + pfad + zeilenEnde +
                   QStringLiteral("ist nicht vorhanden!") + zeilenEnde +
                   QStringLiteral("Bitte selbst nach der Datei suchen."),
               QStringLiteral(" Datei nicht gefunden"), Symbol::Stopp, Knoepfe::Ok);
    return false;
}

QString ProgrammZuDatei(const QString &dokument, Plattform &plattform)
{
    QString programm = plattform.zugeordnetesProgramm(dokument);
    // Some desktops name the document itself when it is "executable" on its own.
    if (programm == dokument)
        return {};
    return programm;
}

void ProgrammStarten(const QString &programm, QString &dokument, Plattform &plattform,
                     Oberflaeche &ui)
{
    const QString ohneAnfuehrung = dokument;
    if (dokument.toLower().contains(QLatin1String(".pdf")))
        dokument = QLatin1Char('"') + dokument + QLatin1Char('"');
    // The program path stays unquoted, blanks and all.
    const QString befehlszeile = programm + QLatin1Char(' ') + dokument;
    plattform.starten(programm, ohneAnfuehrung, befehlszeile);
    ui.ereignisseVerarbeiten();
}

void hilfeOeffnen(const QString &programmordner, Oberflaeche &ui, Plattform &plattform)
{
    // A folder at the root already ends with a separator; the doubled one
    // is harmless and the message shows the path as it was searched.
    QString dokument =
        QDir::toNativeSeparators(programmordner + QStringLiteral("/Varolinaten.pdf"));
    if (!DateiVorhanden(dokument, ui))
        return;
    const QString programm = ProgrammZuDatei(dokument, plattform);
    if (normaleDatei(programm)) {
        ProgrammStarten(programm, dokument, plattform, ui);
        return;
    }
    ui.meldung(QStringLiteral("Acrobat Reader o.ä. nicht gefunden!") + zeilenEnde +
                   QStringLiteral("Hilfe finden Sie in der Datei ") + zeilenEnde + dokument +
                   zeilenEnde,
               QStringLiteral(" Hilfe"), Symbol::Stopp, Knoepfe::Ok);
}

// ---------------------------------------------------------------------------
// Desktop entries (freedesktop.org), used on every platform but Windows.

namespace xdg {

namespace {

// The escapes every string value of a desktop entry may carry. Anything
// else keeps its backslash for the quoting rules of Exec.
QString wertEntschluesseln(const QString &wert)
{
    QString ergebnis;
    ergebnis.reserve(wert.size());
    for (qsizetype i = 0; i < wert.size(); ++i) {
        const QChar c = wert.at(i);
        if (c != QLatin1Char('\\') || i + 1 == wert.size()) {
            ergebnis += c;
            continue;
        }
        const QChar n = wert.at(i + 1);
        if (n == QLatin1Char('s'))
            ergebnis += QLatin1Char(' ');
        else if (n == QLatin1Char('n'))
            ergebnis += QLatin1Char('\n');
        else if (n == QLatin1Char('t'))
            ergebnis += QLatin1Char('\t');
        else if (n == QLatin1Char('r'))
            ergebnis += QLatin1Char('\r');
        else if (n == QLatin1Char('\\'))
            ergebnis += QLatin1Char('\\');
        else {
            ergebnis += c;
            ergebnis += n;
        }
        ++i;
    }
    return ergebnis;
}

// Removes the field codes of one argument. Returns false when the argument
// consisted of field codes only and vanishes altogether.
bool feldcodesEntfernen(QString &argument)
{
    static const QString codes = QStringLiteral("fFuUdDnNickvm");
    QString ergebnis;
    bool hatteCode = false;
    for (qsizetype i = 0; i < argument.size(); ++i) {
        const QChar c = argument.at(i);
        if (c != QLatin1Char('%') || i + 1 == argument.size()) {
            ergebnis += c;
            continue;
        }
        const QChar n = argument.at(i + 1);
        if (n == QLatin1Char('%'))
            ergebnis += QLatin1Char('%');
        else if (codes.contains(n))
            hatteCode = true;
        else {
            ergebnis += c;
            ergebnis += n;
        }
        ++i;
    }
    argument = ergebnis;
    return !(hatteCode && ergebnis.isEmpty());
}

} // namespace

QStringList execArgumente(const QString &exec)
{
    const QString text = wertEntschluesseln(exec);
    QStringList argumente;
    QString aktuell;
    bool imArgument = false;
    bool inAnfuehrung = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inAnfuehrung) {
            if (c == QLatin1Char('"')) {
                inAnfuehrung = false;
            } else if (c == QLatin1Char('\\') && i + 1 < text.size() &&
                       QStringLiteral("\"`$\\").contains(text.at(i + 1))) {
                aktuell += text.at(++i);
            } else {
                aktuell += c;
            }
        } else if (c == QLatin1Char('"')) {
            inAnfuehrung = true;
            imArgument = true;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n')) {
            if (imArgument && feldcodesEntfernen(aktuell))
                argumente << aktuell;
            aktuell.clear();
            imArgument = false;
        } else {
            aktuell += c;
            imArgument = true;
        }
    }
    if (imArgument && feldcodesEntfernen(aktuell))
        argumente << aktuell;
    return argumente;
}

QString execProgramm(const QString &exec)
{
    QStringList argumente = execArgumente(exec);
    // "env LANG=C viewer %f" starts the viewer, not env.
    if (!argumente.isEmpty() && (argumente.first() == QLatin1String("env") ||
                                 argumente.first().endsWith(QLatin1String("/env")))) {
        argumente.removeFirst();
        while (!argumente.isEmpty() && argumente.first().contains(QLatin1Char('=')) &&
               !argumente.first().startsWith(QLatin1Char('-')))
            argumente.removeFirst();
    }
    if (argumente.isEmpty() || argumente.first().isEmpty())
        return {};
    QString programm = argumente.first();
    if (programm.contains(QLatin1Char('/')))
        return programm;
    return QStandardPaths::findExecutable(programm);
}

#ifndef Q_OS_WIN
namespace {

QStringList pfadListe(const char *variable, const QString &vorgabe)
{
    QString wert = qEnvironmentVariable(variable);
    if (wert.isEmpty())
        wert = vorgabe;
    QStringList ordner;
    for (const QString &teil : wert.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        ordner << teil;
    return ordner;
}

QString heimOrdner()
{
    return QDir::homePath();
}

QStringList konfigurationsOrdner()
{
    return pfadListe("XDG_CONFIG_HOME", heimOrdner() + QStringLiteral("/.config")) +
           pfadListe("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
}

QStringList anwendungsOrdner()
{
    QStringList ordner;
    const QStringList daten =
        pfadListe("XDG_DATA_HOME", heimOrdner() + QStringLiteral("/.local/share")) +
        pfadListe("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    for (const QString &d : daten)
        ordner << d + QStringLiteral("/applications");
    return ordner;
}

// The value of one key in one group of an ini-style file (mimeapps.list,
// desktop entries); null when the file, group or key is missing.
QString iniWert(const QString &datei, const QString &gruppe, const QString &schluessel)
{
    QFile f(datei);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    // Real files are small; a runaway file is not read to its end.
    const QByteArray inhalt = f.read(qint64{1024} * 1024);
    bool inGruppe = false;
    for (const QString &roh : QString::fromUtf8(inhalt).split(QLatin1Char('\n'))) {
        const QString zeile = roh.trimmed();
        if (zeile.startsWith(QLatin1Char('['))) {
            inGruppe = zeile == QLatin1Char('[') + gruppe + QLatin1Char(']');
            continue;
        }
        if (!inGruppe || zeile.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype gleich = zeile.indexOf(QLatin1Char('='));
        if (gleich > 0 && QStringView(zeile).left(gleich).trimmed() == schluessel)
            return zeile.mid(gleich + 1).trimmed();
    }
    return {};
}

// A desktop file ID names a file in an applications folder; a "-" in the
// ID may stand for a subfolder ("kde4-okular.desktop" is kde4/okular.desktop).
QString desktopDateiIn(const QString &ordner, const QString &id)
{
    QString direkt = ordner + QLatin1Char('/') + id;
    if (QFileInfo(direkt).isFile())
        return direkt;
    for (qsizetype i = id.indexOf(QLatin1Char('-')); i > 0;
         i = id.indexOf(QLatin1Char('-'), i + 1)) {
        const QString unterordner = ordner + QLatin1Char('/') + id.left(i);
        if (QFileInfo(unterordner).isDir()) {
            QString gefunden = desktopDateiIn(unterordner, id.mid(i + 1));
            if (!gefunden.isEmpty())
                return gefunden;
        }
    }
    return {};
}

QString programmDesEintrags(const QString &id)
{
    if (id.isEmpty() || id.contains(QLatin1String("..")))
        return {};
    for (const QString &ordner : anwendungsOrdner()) {
        const QString datei = desktopDateiIn(ordner, id);
        if (datei.isEmpty())
            continue;
        // The first entry of that ID hides every later one, also when it
        // is hidden itself.
        const QString gruppe = QStringLiteral("Desktop Entry");
        if (iniWert(datei, gruppe, QStringLiteral("Hidden")) == QLatin1String("true"))
            return {};
        return execProgramm(iniWert(datei, gruppe, QStringLiteral("Exec")));
    }
    return {};
}

// The first of the listed desktop entries that names a program.
QString erstesProgramm(const QString &liste)
{
    for (const QString &id : liste.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        QString programm = programmDesEintrags(id.trimmed());
        if (!programm.isEmpty())
            return programm;
    }
    return {};
}

// What `xdg-mime query default` answers, or empty when it is not installed,
// fails or does not answer in time.
QString xdgMimeAntwort(const QString &mimeTyp)
{
    const QString werkzeug = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (werkzeug.isEmpty())
        return {};
    QProcess prozess;
    prozess.setStandardInputFile(QProcess::nullDevice());
    prozess.setStandardErrorFile(QProcess::nullDevice());
    prozess.start(werkzeug, {QStringLiteral("query"), QStringLiteral("default"), mimeTyp});
    if (!prozess.waitForFinished(5000)) {
        prozess.kill();
        prozess.waitForFinished(1000);
        return {};
    }
    if (prozess.exitStatus() != QProcess::NormalExit || prozess.exitCode() != 0)
        return {};
    const QString antwort = QString::fromLocal8Bit(prozess.readAllStandardOutput());
    return antwort.section(QLatin1Char('\n'), 0, 0).trimmed();
}

// The default application as the desktop records it in mimeapps.list and
// its companions, read from the files themselves when xdg-mime cannot help.
QString mimeappsProgramm(const QString &mimeTyp)
{
    QStringList praefixe;
    for (const QString &desktop :
         qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        praefixe << desktop.toLower() + QLatin1Char('-');
    praefixe << QString();

    const QStringList ordner = konfigurationsOrdner() + anwendungsOrdner();
    for (const QString &o : ordner) {
        for (const QString &praefix : praefixe) {
            const QString liste =
                iniWert(o + QLatin1Char('/') + praefix + QStringLiteral("mimeapps.list"),
                        QStringLiteral("Default Applications"), mimeTyp);
            QString programm = erstesProgramm(liste);
            if (!programm.isEmpty())
                return programm;
        }
    }
    // Older desktops keep their defaults in defaults.list; any program that
    // declares the type (mimeinfo.cache) is better than none.
    for (const QString &o : anwendungsOrdner()) {
        QString programm = erstesProgramm(iniWert(o + QStringLiteral("/defaults.list"),
                                                  QStringLiteral("Default Applications"), mimeTyp));
        if (!programm.isEmpty())
            return programm;
    }
    for (const QString &o : anwendungsOrdner()) {
        QString programm = erstesProgramm(
            iniWert(o + QStringLiteral("/mimeinfo.cache"), QStringLiteral("MIME Cache"), mimeTyp));
        if (!programm.isEmpty())
            return programm;
    }
    return {};
}

QString mimeTypVon(const QString &dokument)
{
    // The help document is a PDF whatever the MIME database says (it may
    // be missing altogether on a minimal system).
    if (dokument.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return QStringLiteral("application/pdf");
    return QMimeDatabase().mimeTypeForFile(dokument, QMimeDatabase::MatchExtension).name();
}

} // namespace
#endif

} // namespace xdg

#ifdef Q_OS_WIN

QString DesktopPlattform::zugeordnetesProgramm(const QString &dokument)
{
    // The shell writes up to MAX_PATH characters; a buffer of blanks shows
    // whether it wrote a terminated answer at all.
    std::vector<wchar_t> puffer(MAX_PATH + 1, L' ');
    const std::wstring pfad = dokument.toStdWString();
    FindExecutableW(pfad.c_str(), nullptr, puffer.data());
    const auto ende = std::find(puffer.begin(), puffer.end(), L'\0');
    if (ende == puffer.end())
        return {};
    return QString::fromWCharArray(puffer.data(), int(ende - puffer.begin()));
}

void DesktopPlattform::starten(const QString &programm, const QString &dokument,
                               const QString &befehlszeile)
{
    Q_UNUSED(dokument);
    // Windows takes the arguments as one text: hand over the document
    // exactly as the command line quotes it.
    QProcess prozess;
    prozess.setProgram(programm);
    prozess.setNativeArguments(befehlszeile.mid(programm.size() + 1));
    prozess.startDetached();
}

#else

QString DesktopPlattform::zugeordnetesProgramm(const QString &dokument)
{
    const QString mimeTyp = xdg::mimeTypVon(dokument);
    if (mimeTyp.isEmpty())
        return {};
    QString programm = xdg::erstesProgramm(xdg::xdgMimeAntwort(mimeTyp));
    if (programm.isEmpty())
        programm = xdg::mimeappsProgramm(mimeTyp);
    return programm;
}

void DesktopPlattform::starten(const QString &programm, const QString &dokument,
                               const QString &befehlszeile)
{
    Q_UNUSED(befehlszeile);
    // The quotes of the command line keep a path with blanks together for a
    // shell; here the document is one argument already and goes unquoted,
    // else the viewer would look for a file whose name begins with '"'.
    QProcess::startDetached(programm, {dokument});
}

#endif

} // namespace varo
