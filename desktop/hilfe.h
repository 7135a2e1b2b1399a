#pragma once

#include "oberflaeche.h"

#include <QString>
#include <QStringList>

// The help command: the help document Varolinaten.pdf lies beside the
// program and is opened with whatever program the desktop associates with
// it. The desktop's association lookup and the program start sit behind
// Plattform, so the command itself can be exercised with a substitute.

namespace varo {

// What the help command needs of the desktop.
class Plattform
{
public:
    virtual ~Plattform() = default;

    // The program the desktop associates with the document, as a full
    // path, or empty when the desktop knows none.
    virtual QString zugeordnetesProgramm(const QString &dokument) = 0;

    // Start the program for the document and return at once; whether the
    // start succeeds is not reported. befehlszeile is the complete command
    // line (program, a blank, the document as the caller quoted it);
    // dokument is the unquoted path.
    virtual void starten(const QString &programm, const QString &dokument,
                         const QString &befehlszeile) = 0;
};

// The desktop the program runs on: the shell's FindExecutable on Windows,
// the freedesktop.org MIME associations (xdg-mime, else mimeapps.list and
// the desktop entries) elsewhere.
class DesktopPlattform : public Plattform
{
public:
    QString zugeordnetesProgramm(const QString &dokument) override;
    void starten(const QString &programm, const QString &dokument,
                 const QString &befehlszeile) override;
};

// True when a normal file (no directory, not hidden) of exactly this path
// exists; no message.
bool normaleDatei(const QString &pfad);

// True when the help document exists; otherwise the " Datei nicht
// gefunden" message naming the path, and false.
bool DateiVorhanden(const QString &pfad, Oberflaeche &ui);

// Full path of the program associated with the document; empty when the
// desktop knows none or answers with the document itself.
QString ProgrammZuDatei(const QString &dokument, Plattform &plattform);

// Start the program with the document. A path containing ".pdf" (in any
// case) is put in double quotes first, and the quoted form is written back.
void ProgrammStarten(const QString &programm, QString &dokument, Plattform &plattform,
                     Oberflaeche &ui);

// "&Hilfe": open Varolinaten.pdf from the program folder, or tell the user
// where it is when it or a program for it is missing.
void hilfeOeffnen(const QString &programmordner, Oberflaeche &ui, Plattform &plattform);

namespace xdg {

// The arguments of a desktop entry's Exec line: string escapes and quoting
// resolved, field codes (%f, %U, ...) removed, "%%" turned into "%".
QStringList execArgumente(const QString &exec);

// The program of an Exec line as a full path: an "env VAR=wert" prefix is
// skipped, a bare name is looked up in PATH (empty when it is not there).
QString execProgramm(const QString &exec);

} // namespace xdg

} // namespace varo
