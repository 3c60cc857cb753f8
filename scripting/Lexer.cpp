// The scanner.
#include "Lexer.h"

#include <cmath>
#include <cstdlib>
#include <unordered_map>

#include "util/Cp1251.h"

namespace mirvex::script {
namespace {

const std::unordered_map<std::string, TTok>& Keywords() {
    static const std::unordered_map<std::string, TTok> kKeywords = {
        {"AND", TTok::And},         {"ARRAY", TTok::Array},       {"BEGIN", TTok::Begin},
        {"CASE", TTok::Case},       {"CONST", TTok::Const},       {"DIV", TTok::Div},
        {"DO", TTok::Do},           {"DOWNTO", TTok::Downto},     {"ELSE", TTok::Else},
        {"END", TTok::EndKw},       {"EXCEPT", TTok::Except},     {"FINALLY", TTok::Finally},
        {"FOR", TTok::For},         {"FORWARD", TTok::Forward},   {"FUNCTION", TTok::Function},
        {"IF", TTok::If},           {"IN", TTok::In},             {"MOD", TTok::Mod},
        {"NOT", TTok::Not},         {"OF", TTok::Of},             {"ON", TTok::On},
        {"OR", TTok::Or},           {"PROCEDURE", TTok::Procedure}, {"PROGRAM", TTok::Program},
        {"RAISE", TTok::Raise},     {"RECORD", TTok::Record},     {"REPEAT", TTok::Repeat},
        {"SET", TTok::Set},         {"SHL", TTok::Shl},           {"SHR", TTok::Shr},
        {"THEN", TTok::Then},       {"TO", TTok::To},             {"TRY", TTok::Try},
        {"TYPE", TTok::Type},       {"UNTIL", TTok::Until},       {"USES", TTok::Uses},
        {"VAR", TTok::Var},         {"WHILE", TTok::While},       {"XOR", TTok::Xor},
    };
    return kKeywords;
}

bool IsIdentStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

class Scanner {
public:
    Scanner(std::string_view text, std::vector<TLexError>& errors) : m_text(text), m_errors(errors) {}

    std::vector<TToken> Run() {
        std::vector<TToken> tokens;
        while (true) {
            if (!SkipSpaceAndComments()) break;
            TToken t;
            t.Line = m_line;
            t.Column = Column();
            if (m_pos >= m_text.size()) {
                tokens.push_back(t);
                return tokens;
            }
            if (!Next(t)) break;
            tokens.push_back(std::move(t));
        }
        TToken end;
        end.Line = m_line;
        end.Column = Column();
        tokens.push_back(end);
        return tokens;
    }

private:
    int Column() const { return static_cast<int>(m_pos - m_lineStart) + 1; }
    char Peek(std::size_t ahead = 0) const {
        return m_pos + ahead < m_text.size() ? m_text[m_pos + ahead] : '\0';
    }
    void Advance() {
        if (m_text[m_pos] == '\n') {
            ++m_line;
            m_lineStart = m_pos + 1;
        }
        ++m_pos;
    }
    void Error(int line, int column, std::string message) { m_errors.push_back({line, column, std::move(message)}); }

    // False after an unterminated comment.
    bool SkipSpaceAndComments() {
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (static_cast<unsigned char>(c) <= ' ') {
                Advance();
            } else if (c == '/' && Peek(1) == '/') {
                while (m_pos < m_text.size() && m_text[m_pos] != '\n') Advance();
            } else if (c == '{') {
                const int line = m_line, column = Column();
                while (m_pos < m_text.size() && m_text[m_pos] != '}') Advance();
                if (m_pos >= m_text.size()) {
                    Error(line, column, "unterminated comment");
                    return false;
                }
                Advance();
            } else if (c == '(' && Peek(1) == '*') {
                const int line = m_line, column = Column();
                Advance();
                Advance();
                while (m_pos < m_text.size() && !(m_text[m_pos] == '*' && Peek(1) == ')')) Advance();
                if (m_pos >= m_text.size()) {
                    Error(line, column, "unterminated comment");
                    return false;
                }
                Advance();
                Advance();
            } else {
                break;
            }
        }
        return true;
    }

    bool Next(TToken& t) {
        const char c = m_text[m_pos];
        if (IsIdentStart(c)) {
            const std::size_t start = m_pos;
            while (m_pos < m_text.size() && (IsIdentStart(m_text[m_pos]) || IsDigit(m_text[m_pos]))) Advance();
            t.Text = std::string(m_text.substr(start, m_pos - start));
            const auto kw = Keywords().find(UpperCaseAscii(t.Text));
            t.Kind = kw == Keywords().end() ? TTok::Identifier : kw->second;
            return true;
        }
        if (IsDigit(c) || c == '$') return Number(t);
        if (c == '\'' || c == '#') return StringLiteral(t);
        return Symbol(t);
    }

    bool Number(TToken& t) {
        const std::size_t start = m_pos;
        if (m_text[m_pos] == '$') {
            Advance();
            if (!IsHex(Peek())) {
                Error(t.Line, t.Column, "bad hexadecimal number");
                return false;
            }
            std::uint64_t v = 0;
            while (IsHex(Peek())) {
                const char d = Peek();
                const unsigned digit = IsDigit(d) ? unsigned(d - '0') : unsigned((d | 0x20) - 'a' + 10);
                if (v >> 60) {
                    Error(t.Line, t.Column, "number is too large");
                    return false;
                }
                v = v * 16 + digit;
                Advance();
            }
            t.Kind = TTok::Integer;
            t.IntValue = static_cast<std::int64_t>(v);
            t.Text = std::string(m_text.substr(start, m_pos - start));
            return true;
        }
        while (IsDigit(Peek())) Advance();
        bool isFloat = false;
        if (Peek() == '.' && IsDigit(Peek(1))) {
            isFloat = true;
            Advance();
            while (IsDigit(Peek())) Advance();
        }
        if ((Peek() == 'e' || Peek() == 'E') &&
            (IsDigit(Peek(1)) || ((Peek(1) == '+' || Peek(1) == '-') && IsDigit(Peek(2))))) {
            isFloat = true;
            Advance();
            if (Peek() == '+' || Peek() == '-') Advance();
            while (IsDigit(Peek())) Advance();
        }
        t.Text = std::string(m_text.substr(start, m_pos - start));
        if (isFloat) {
            t.Kind = TTok::Float;
            t.FloatValue = std::strtod(t.Text.c_str(), nullptr);
            if (!std::isfinite(t.FloatValue)) {
                Error(t.Line, t.Column, "number is too large");
                return false;
            }
            return true;
        }
        std::uint64_t v = 0;
        for (const char d : t.Text) {
            if (v > (static_cast<std::uint64_t>(INT64_MAX) - static_cast<unsigned>(d - '0')) / 10) {
                Error(t.Line, t.Column, "number is too large");
                return false;
            }
            v = v * 10 + static_cast<unsigned>(d - '0');
        }
        t.Kind = TTok::Integer;
        t.IntValue = static_cast<std::int64_t>(v);
        return true;
    }

    // 'text' with '' for a quote, #65 and #$41 characters, all joined.
    bool StringLiteral(TToken& t) {
        t.Kind = TTok::String;
        while (Peek() == '\'' || Peek() == '#') {
            if (Peek() == '\'') {
                Advance();
                while (true) {
                    if (m_pos >= m_text.size() || Peek() == '\n' || Peek() == '\r') {
                        Error(t.Line, t.Column, "unterminated string");
                        return false;
                    }
                    if (Peek() == '\'') {
                        if (Peek(1) == '\'') {
                            t.Text += '\'';
                            Advance();
                            Advance();
                            continue;
                        }
                        Advance();
                        break;
                    }
                    t.Text += Peek();
                    Advance();
                }
            } else {
                Advance();
                unsigned v = 0;
                if (Peek() == '$') {
                    Advance();
                    if (!IsHex(Peek())) {
                        Error(t.Line, t.Column, "bad character code");
                        return false;
                    }
                    while (IsHex(Peek()) && v <= 0xFF) {
                        const char d = Peek();
                        v = v * 16 + (IsDigit(d) ? unsigned(d - '0') : unsigned((d | 0x20) - 'a' + 10));
                        Advance();
                    }
                } else {
                    if (!IsDigit(Peek())) {
                        Error(t.Line, t.Column, "bad character code");
                        return false;
                    }
                    while (IsDigit(Peek()) && v <= 0xFF) {
                        v = v * 10 + unsigned(Peek() - '0');
                        Advance();
                    }
                }
                if (v > 0xFF) {
                    Error(t.Line, t.Column, "character code out of range");
                    return false;
                }
                t.Text += static_cast<char>(v);
            }
        }
        return true;
    }

    bool Symbol(TToken& t) {
        const char c = Peek(), n = Peek(1);
        const auto two = [&](TTok kind) {
            t.Kind = kind;
            Advance();
            Advance();
            return true;
        };
        const auto one = [&](TTok kind) {
            t.Kind = kind;
            Advance();
            return true;
        };
        switch (c) {
            case '+': return one(TTok::Plus);
            case '-': return one(TTok::Minus);
            case '*': return one(TTok::Star);
            case '/': return one(TTok::Slash);
            case '=': return one(TTok::Equal);
            case '<':
                if (n == '>') return two(TTok::NotEqual);
                if (n == '=') return two(TTok::LessEqual);
                return one(TTok::Less);
            case '>':
                if (n == '=') return two(TTok::GreaterEqual);
                return one(TTok::Greater);
            case ':':
                if (n == '=') return two(TTok::Assign);
                return one(TTok::Colon);
            case '(': return one(TTok::LParen);
            case ')': return one(TTok::RParen);
            case '[': return one(TTok::LBracket);
            case ']': return one(TTok::RBracket);
            case ',': return one(TTok::Comma);
            case ';': return one(TTok::Semicolon);
            case '.':
                if (n == '.') return two(TTok::DotDot);
                return one(TTok::Dot);
            case '^': return one(TTok::Caret);
            case '@': return one(TTok::At);
            default: break;
        }
        std::string shown(1, c);
        if (static_cast<unsigned char>(c) >= 0x80) shown = Cp1251ToUtf8(shown);
        Error(t.Line, t.Column, "unexpected character '" + shown + "'");
        return false;
    }

    std::string_view m_text;
    std::vector<TLexError>& m_errors;
    std::size_t m_pos = 0;
    std::size_t m_lineStart = 0;
    int m_line = 1;
};

}  // namespace

std::vector<TToken> Tokenize(std::string_view text, std::vector<TLexError>& errors) {
    return Scanner(text, errors).Run();
}

std::string TokenText(const TToken& token) {
    switch (token.Kind) {
        case TTok::End: return "end of text";
        case TTok::Identifier:
        case TTok::Integer:
        case TTok::Float: return token.Text;
        case TTok::String: return "'" + token.Text + "'";
        case TTok::Plus: return "+";
        case TTok::Minus: return "-";
        case TTok::Star: return "*";
        case TTok::Slash: return "/";
        case TTok::Equal: return "=";
        case TTok::NotEqual: return "<>";
        case TTok::Less: return "<";
        case TTok::Greater: return ">";
        case TTok::LessEqual: return "<=";
        case TTok::GreaterEqual: return ">=";
        case TTok::Assign: return ":=";
        case TTok::LParen: return "(";
        case TTok::RParen: return ")";
        case TTok::LBracket: return "[";
        case TTok::RBracket: return "]";
        case TTok::Comma: return ",";
        case TTok::Semicolon: return ";";
        case TTok::Colon: return ":";
        case TTok::Dot: return ".";
        case TTok::DotDot: return "..";
        case TTok::Caret: return "^";
        case TTok::At: return "@";
        default: break;
    }
    for (const auto& [word, kind] : Keywords())
        if (kind == token.Kind) {
            std::string lower = word;
            for (char& ch : lower) ch = static_cast<char>(ch | 0x20);
            return lower;
        }
    return "?";
}

}  // namespace mirvex::script

