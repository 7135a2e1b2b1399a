#include "eingaben.h"

#include "bericht.h"
#include "konvertierung.h"
#include "laufzeitfehler.h"

namespace varo::eingabe {

float frequenz(const QString &text)
{
    const float f = zuSingle(TextZuZahl(KommaZuPunkt(text)));
    if (f < 0.01F)
        throw Eingabeablehnung(Ablehnung::Frequenz);
    return f;
}

float verkuerzungsfaktor(const QString &kabelText)
{
    const float vk = zuSingle(TextZuZahl(KommaZuPunkt(kabelText)));
    if (!(vk > 0.0F && vk <= 1.0F))
        throw Eingabeablehnung(Ablehnung::Verkuerzungsfaktor);
    return vk;
}

float laenge(const QString &text)
{
    return zuSingle(TextZuZahl(KommaZuPunkt(text)));
}

Toleranz toleranz(const QString &text)
{
    Toleranz t;
    t.prozent = zuSingle(TextZuZahl(KommaZuPunkt(text)));
    if (!(t.prozent >= 0.0F && t.prozent <= 100.0F))
        throw Eingabeablehnung(Ablehnung::Toleranz);
    float rest = zuSingle(100.0 - t.prozent + 0.001);
    if (rest > 100.0F)
        rest = 100.0F;
    t.schwelle = zuSingle(1.0 / (100.0 / rest));
    return t;
}

QString kabelzusatz(const QString &name)
{
    if (name.isEmpty() || liestSichAlsZahl(name))
        return {};
    return QStringLiteral(" (") + name + QLatin1Char(')');
}

} // namespace varo::eingabe
