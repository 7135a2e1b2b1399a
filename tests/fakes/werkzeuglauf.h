#pragma once

// One run of the report tool inside the test process: its exit status and
// what it wrote to standard output and standard error.

#include "berichtwerkzeug.h"

#include <QBuffer>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

struct Lauf
{
    int status = -1;
    QByteArray stdout_;
    QString stderr_;

    // The fields of one CSV line.
    QList<QByteArray> felder(int zeile) const { return stdout_.split('\n').at(zeile).split(';'); }
};

inline Lauf werkzeugStarten(const QStringList &argumente, const QString &kabelOrdner)
{
    Lauf lauf;
    QBuffer ausgabe(&lauf.stdout_);
    ausgabe.open(QIODevice::WriteOnly);
    QTextStream fehler(&lauf.stderr_);
    lauf.status = varo::cli::ausfuehren(argumente, ausgabe, fehler, kabelOrdner);
    fehler.flush();
    return lauf;
}
