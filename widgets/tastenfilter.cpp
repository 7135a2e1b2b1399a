#include "tastenfilter.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>

namespace varo {

namespace {

bool istNavigationstaste(int taste)
{
    switch (taste) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Escape:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

bool textZulaessig(const QString &text, bool schraegstrichErlaubt)
{
    for (const QChar c : text) {
        if (!zeichenZulaessig(c, schraegstrichErlaubt))
            return false;
    }
    return true;
}

} // namespace

bool zeichenZulaessig(QChar zeichen, bool schraegstrichErlaubt)
{
    const char16_t c = zeichen.unicode();
    if (c == u'\b')
        return true;
    if (c >= u'0' && c <= u'9')
        return true;
    if (c == u',' || c == u'.')
        return true;
    return schraegstrichErlaubt && c == u'/';
}

bool eingabeAbweisen(const QEvent &ereignis, bool schraegstrichErlaubt)
{
    if (ereignis.type() == QEvent::InputMethod) {
        const auto &eingabe = static_cast<const QInputMethodEvent &>(ereignis);
        return !textZulaessig(eingabe.commitString(), schraegstrichErlaubt);
    }
    if (ereignis.type() != QEvent::KeyPress)
        return false;
    const auto &taste = static_cast<const QKeyEvent &>(ereignis);
    // Shift+Insert pastes as Ctrl+V does.
    if (taste.matches(QKeySequence::Paste))
        return true;
    if (istNavigationstaste(taste.key()))
        return false;
    if ((taste.modifiers() & Qt::ControlModifier) && taste.key() >= Qt::Key_A &&
        taste.key() <= Qt::Key_Z)
        return true;
    return !textZulaessig(taste.text(), schraegstrichErlaubt);
}

} // namespace varo
