#pragma once

// The tokenizer of the RTF reader: one token per step, each step consuming
// at least one byte, never recursive. It knows the lexical rules only (what
// a control word, a symbol, a hex escape or a text byte is, and how far
// binary data after \binN reaches); what a token means is the reader's.

#include <QtGlobal>

#include <string_view>

namespace varo::rtf {

struct Token
{
    enum class Art : quint8 {
        Nichts,    // a byte that means nothing (CR, LF, NUL, a lone backslash at the end)
        GruppeAuf, // {
        GruppeZu,  // }
        Wort,      // a control word; a tab byte reads as \tab
        Symbol,    // a control symbol other than \'
        Hex,       // \'hh
        Text,      // any other byte
    };
    Art art = Art::Nichts;
    std::string_view name;     // Wort: the word; empty when it is too long to be known
    bool hatParameter = false; // Wort
    int parameter = 0;         // Wort: saturated to int; Hex: the byte, -1 without digits
    char zeichen = 0;          // Symbol: the character after the backslash; Text: the byte
};

class Zerleger
{
public:
    Zerleger(const char *daten, qsizetype n) : daten(daten), n(n) {}

    // Passes leading blanks and a UTF-8 byte order mark; true when "{\rtf"
    // follows (and not a longer word such as "{\rtfx").
    bool kopfGefunden();

    bool amEnde() const { return pos >= n; }

    // The next token; only while !amEnde().
    Token naechstes();

private:
    Token steuerung();
    Token steuerwort();
    void parameterLesen(Token &token);
    int hexByte();

    const char *daten;
    qsizetype n;
    qsizetype pos = 0;
};

} // namespace varo::rtf
