#include "eingabevorschlag.h"

#include "konstanten.h"
#include "konvertierung.h"
#include "laufzeitfehler.h"
#include "zahlenformat.h"

namespace varo {

namespace {

// A frequency entry's pieces: everything before the last "/", after one
// has been added when the text does not end with it.
QStringList frequenzFelder(const QString &frequenzText)
{
    QString s = frequenzText;
    if (!s.endsWith(u'/'))
        s += u'/';
    QStringList felder = FrequenzListe(s);
    felder.removeLast();
    return felder;
}

} // namespace

float referenzLaenge(const QString &frequenzText)
{
    constexpr float ohneFrequenz = 10.0F;
    if (frequenzText.isEmpty())
        return ohneFrequenz;
    try {
        // With several frequencies reading stops at the first "/".
        const float f = zuSingle(TextZuZahl(KommaZuPunkt(frequenzText)));
        if (!(f > 0.0F))
            return ohneFrequenz;
        const float w = zuSingle(wellenlaenge(f));
        float l = 0.0F;
        for (int n = 1; n <= 10; ++n) {
            l = zuSingle(double(w) * n);
            if (l >= 10.0F)
                break;
        }
        return l;
    } catch (const Laufzeitfehler &) {
        // A first frequency beyond what a single holds proposes nothing of
        // its own.
        return ohneFrequenz;
    }
}

QString laengeBeiAktivierung(const QString &frequenzText, float kabelLaenge, const QLocale &locale)
{
    const float l = referenzLaenge(frequenzText);
    const QString muster = QStringLiteral("###0");
    if (kabelLaenge > 0.0F && kabelLaenge >= l)
        return formatZahl(kabelLaenge, muster, locale);
    return formatZahl(l, muster, locale);
}

QString laengenVorschlag(const QString &frequenzText, const QLocale &locale)
{
    try {
        float fMin = 100000.0F;
        for (const QString &feld : frequenzFelder(frequenzText)) {
            const float f = zuSingle(TextZuZahl(KommaZuPunkt(feld)));
            if (f < fMin)
                fMin = f;
        }
        if (!(fMin > 0.0F))
            return {};
        const float h = zuSingle(150.0 / double(fMin));
        // Adding a half before a pattern that rounds halves away from zero
        // gives the next whole metre above the length.
        const QString muster = QStringLiteral("####0");
        if (h > 10.0F)
            return formatZahl(double(h) + 0.5, muster, locale);
        return formatZahl(double(zuSingle(20.0 * double(h))) + 0.5, muster, locale);
    } catch (const Laufzeitfehler &) {
        return {};
    }
}

} // namespace varo
