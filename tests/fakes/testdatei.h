#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Writes a fixture file the test needs (a cable table, a band list) in one
// go; false when it could not be written whole.
inline bool testdateiSchreiben(const QString &pfad, const QByteArray &inhalt)
{
    QFile datei(pfad);
    return datei.open(QIODevice::WriteOnly) && datei.write(inhalt) == inhalt.size();
}
