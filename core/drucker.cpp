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
void KeinDrucker::setSkalierung(int)
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
int KeinDrucker::orientierung() const
{
    fehlt();
}
void KeinDrucker::setOrientierung(int)
{
    fehlt();
}
int KeinDrucker::papiergroesse() const
{
    fehlt();
}
void KeinDrucker::setPapiergroesse(int)
{
    fehlt();
}
int KeinDrucker::papierfach() const
{
    fehlt();
}
void KeinDrucker::setPapierfach(int)
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
