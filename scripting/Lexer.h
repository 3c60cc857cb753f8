// Tokens of the script language: Object-Pascal lexical rules, identifiers
// and keywords without regard to letter case, comments //, { } and (* *).
// Texts are code page 1251 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mirvex::script {

enum class TTok : std::uint8_t {
    End,
    Identifier,
    Integer,
    Float,
    String,
    // Symbols.
    Plus, Minus, Star, Slash, Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Assign,
    LParen, RParen, LBracket, RBracket, Comma, Semicolon, Colon, Dot, DotDot, Caret, At,
    // Keywords.
    And, Array, Begin, Case, Const, Div, Do, Downto, Else, EndKw, Except, Finally, For, Forward,
    Function, If, In, Mod, Not, Of, On, Or, Procedure, Program, Raise, Record, Repeat, Set, Shl, Shr,
    Then, To, Try, Type, Until, Uses, Var, While, Xor,
};

struct TToken {
    TTok Kind = TTok::End;
    int Line = 1;
    int Column = 1;
    // The identifier as written, the string's bytes, or the number's text.
    std::string Text;
    std::int64_t IntValue = 0;
    double FloatValue = 0;
};

struct TLexError {
    int Line;
    int Column;
    std::string Message;
};

// The whole text as tokens, ending with one End token. Errors stop the
// scan; the tokens before them stay.
std::vector<TToken> Tokenize(std::string_view text, std::vector<TLexError>& errors);

// How a token is shown in messages: the text of identifiers, numbers and
// symbols, keywords in lower case, strings in quotes, "end of text".
std::string TokenText(const TToken& token);

}  // namespace mirvex::script
