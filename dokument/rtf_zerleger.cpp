#include "rtf_zerleger.h"

#include "rtf.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace varo::rtf {

namespace {

bool istBuchstabe(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool istZiffer(char c)
{
    return c >= '0' && c <= '9';
}

int hexWert(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool Zerleger::kopfGefunden()
{
    // Leading blanks and a UTF-8 byte order mark are tolerated.
    while (pos < n && (daten[pos] == ' ' || daten[pos] == '\t' || daten[pos] == '\r' ||
                       daten[pos] == '\n' || daten[pos] == '\0'))
        ++pos;
    if (n - pos >= 3 && std::memcmp(daten + pos, "\xEF\xBB\xBF", 3) == 0)
        pos += 3;
    return n - pos >= 5 && std::memcmp(daten + pos, "{\\rtf", 5) == 0 &&
           !(n - pos > 5 && istBuchstabe(daten[pos + 5]));
}

Token Zerleger::naechstes()
{
    const char c = daten[pos++];
    Token token;
    switch (c) {
    case '{':
        token.art = Token::Art::GruppeAuf;
        break;
    case '}':
        token.art = Token::Art::GruppeZu;
        break;
    case '\\':
        return steuerung();
    case '\r':
    case '\n':
    case '\0':
        break;
    case '\t':
        token.art = Token::Art::Wort;
        token.name = "tab";
        break;
    default:
        token.art = Token::Art::Text;
        token.zeichen = c;
        break;
    }
    return token;
}

Token Zerleger::steuerung()
{
    Token token;
    if (pos >= n)
        return token;
    const char c = daten[pos];
    if (istBuchstabe(c))
        return steuerwort();
    ++pos;
    if (c == '\'') {
        token.art = Token::Art::Hex;
        token.parameter = hexByte();
    } else {
        token.art = Token::Art::Symbol;
        token.zeichen = c;
    }
    return token;
}

Token Zerleger::steuerwort()
{
    Token token;
    token.art = Token::Art::Wort;
    const qsizetype anfang = pos;
    while (pos < n && istBuchstabe(daten[pos]))
        ++pos;
    const qsizetype laenge = pos - anfang;
    // An overlong word is read to its end but matches nothing.
    if (laenge <= maxWortlaenge)
        token.name = std::string_view(daten + anfang, size_t(laenge));
    parameterLesen(token);
    if (pos < n && daten[pos] == ' ')
        ++pos;
    // Binary data is passed over wherever it stands, even in skipped groups.
    if (token.name == "bin" && token.hatParameter && token.parameter > 0)
        pos += std::min<qsizetype>(token.parameter, n - pos);
    return token;
}

void Zerleger::parameterLesen(Token &token)
{
    bool negativ = false;
    if (pos + 1 < n && daten[pos] == '-' && istZiffer(daten[pos + 1])) {
        negativ = true;
        ++pos;
    }
    qint64 wert = 0;
    while (pos < n && istZiffer(daten[pos])) {
        token.hatParameter = true;
        wert = std::min<qint64>(wert * 10 + (daten[pos] - '0'), qint64(INT_MAX) + 1);
        ++pos;
    }
    if (negativ)
        wert = -wert;
    token.parameter = int(std::clamp<qint64>(wert, INT_MIN, INT_MAX));
}

// Up to two hex digits; "\'4x" reads as 0x04 followed by "x".
int Zerleger::hexByte()
{
    int wert = -1;
    if (pos < n && hexWert(daten[pos]) >= 0) {
        wert = hexWert(daten[pos++]);
        if (pos < n && hexWert(daten[pos]) >= 0)
            wert = wert * 16 + hexWert(daten[pos++]);
    }
    return wert;
}

} // namespace varo::rtf
