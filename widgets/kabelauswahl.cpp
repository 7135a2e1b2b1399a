#include "kabelauswahl.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QLineEdit>
#include <QStyle>

#include <algorithm>

namespace varo {

KabelAuswahl::KabelAuswahl(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    // The text is what the user typed: no completion, nothing added to the list.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
}

int KabelAuswahl::listenbreite() const
{
    const QAbstractItemView *ansicht = view();
    return ansicht->sizeHintForColumn(0) + 2 * ansicht->frameWidth() +
           style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ansicht);
}

void KabelAuswahl::showPopup()
{
    // The list may have grown since the last opening.
    view()->setMinimumWidth(std::max(listenbreite(), width()));
    QComboBox::showPopup();
}

void KabelAuswahl::focusOutEvent(QFocusEvent *ereignis)
{
    QComboBox::focusOutEvent(ereignis);
    anfangZeigen();
}

void KabelAuswahl::anfangZeigen()
{
    if (QLineEdit *zeile = lineEdit())
        zeile->setCursorPosition(0);
}

} // namespace varo
