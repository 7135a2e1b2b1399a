#pragma once

// Reading and writing the files the user hands the program: reports, cable
// tables, band lists. A pipe, a device or a folder never blocks or floods
// the program, a full disk never passes for success, and every cause is
// told in German.

#include "systemfehler.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace varo {

// What reading a file gave.
struct Dateiinhalt
{
    QByteArray daten;          // the whole file, or what was read before it stopped
    QString fehler;            // why it was not read whole; empty when it was
    bool vollstaendig = false; // daten is the whole file
    bool geoeffnet = false;    // it was opened as a regular file (and broke off later)
};

// What to do with a file larger than the limit.
enum class Uebergroesse {
    Ablehnen, // read nothing
    Anfang,   // keep its first grenze bytes
};

// Reads the file at pfad, after following symbolic links, if it is a
// regular file of at most grenze bytes. Pipes and devices are refused
// before a byte is read, so neither blocks nor streams without end; the
// limit holds while reading too, for files that grow or claim size 0.
// A failure leaves fehler holding a German sentence such as "Das ist
// keine gewöhnliche Datei." and daten what was read up to then.
Dateiinhalt dateiLesen(const QString &pfad, qint64 grenze,
                       Uebergroesse beiUebergroesse = Uebergroesse::Ablehnen);

// Writes daten to pfad through a temporary file that replaces it only when
// every byte has reached the disk; an existing file stays as it was
// otherwise. A pipe or a device is written in place and stays what it is
// (a pipe without a reader is refused); /dev/stdout, /dev/fd/N and the like
// are written through the descriptor the program holds, at its position.
// Every write is checked. Returns an empty string on success, else the
// German cause.
QString dateiSchreiben(const QString &pfad, const QByteArray &daten);

// Lets every write fail with "no space left" once grenze bytes of a file
// have been written, as on a full disk; a negative grenze ends it. For
// tests on machines where no small file system can be mounted.
void schreibgrenzeSetzen(qint64 grenze);

} // namespace varo
