#include "drucker.h"

#include "laufzeitfehler.h"

namespace varo {

namespace {
[[noreturn]] void fehlt()
{
    throw Laufzeitfehler(fehler::DruckerInformation);
}
} // namespace

QString KeinDrucker::geraetename() const
{
    fehlt();
}
void KeinDrucker::setStandardFolgen(bool)
{
    fehlt();
}
void KeinDrucker::setMasseinheit(Masseinheit)
{
    fehlt();
}
void KeinDrucker::setSchriftname(const QString &)
{
    fehlt();
}
void KeinDrucker::setSchriftgroesse(double)
{
    fehlt();
}
Seitenlage KeinDrucker::seitenlage() const
{
    fehlt();
}
void KeinDrucker::setSeitenlage(Seitenlage)
{
    fehlt();
}
Papierformat KeinDrucker::papierformat() const
{
    fehlt();
}
void KeinDrucker::setPapierformat(Papierformat)
{
    fehlt();
}
Papierfach KeinDrucker::papierfach() const
{
    fehlt();
}
void KeinDrucker::setPapierfach(Papierfach)
{
    fehlt();
}
int KeinDrucker::seitenhoeheTwips() const
{
    fehlt();
}
int KeinDrucker::seitenbreiteTwips() const
{
    fehlt();
}
double KeinDrucker::textHoehe(const QString &) const
{
    fehlt();
}
void KeinDrucker::dokumentBeenden()
{
    fehlt();
}
void KeinDrucker::bildDrucken(const QImage &)
{
    fehlt();
}
void KeinDrucker::dokumentDrucken(const QTextDocument &)
{
    fehlt();
}

} // namespace varo
