#include "seitenbild.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace varo::seitenbild {

bool istSeitenzeile(const QString &text)
{
    static const QRegularExpression muster(QStringLiteral("^ *Seite \\d+$"));
    return text.size() == 80 && muster.match(text).hasMatch();
}

double groessteSchrift(const QTextBlock &block)
{
    const double standard = block.document()->defaultFont().pointSizeF();
    double groesste = 0;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const double groesse = it.fragment().charFormat().fontPointSize();
        groesste = std::max(groesste, groesse > 0 ? groesse : standard);
    }
    return groesste;
}

std::vector<bool> seitenfueller(const QTextDocument &dokument)
{
    std::vector<bool> fueller(size_t(dokument.blockCount()), false);
    bool vorSeitenzeile = false; // the next line with text is a page label
    for (QTextBlock block = dokument.lastBlock(); block.isValid(); block = block.previous()) {
        if (!block.text().isEmpty())
            vorSeitenzeile = istSeitenzeile(block.text());
        else if (vorSeitenzeile && block.previous().isValid())
            fueller[size_t(block.blockNumber())] = true;
    }
    return fueller;
}

} // namespace varo::seitenbild
