#include "script/compiled_expression.h"

#include "script/script_text.h"

namespace {

bool IsDigit(char character) { return character >= '0' && character <= '9'; }

bool IsHexDigit(char character)
{
    return IsDigit(character) || (character >= 'a' && character <= 'f') || (character >= 'A' && character <= 'F');
}

int HexValue(char character)
{
    if (IsDigit(character))
        return character - '0';
    if (character >= 'a' && character <= 'f')
        return character - 'a' + 10;
    return character - 'A' + 10;
}

// Letters, digits, "_", "@", "[", "]" and every byte of a double-byte character.
bool IsNameCharacter(char character)
{
    auto byte = static_cast<unsigned char>(character);
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || IsDigit(character) || byte == '_'
        || byte == '@' || byte == '[' || byte == ']' || byte >= 0x80;
}

class Tokenizer {
public:
    explicit Tokenizer(std::string_view text) : m_text(text) {}

    void Run(CompiledExpression& compiled)
    {
        while (true) {
            while (m_position < m_text.size() && m_text[m_position] == ' ')
                ++m_position;
            if (m_position >= m_text.size())
                return;
            ExpressionToken token;
            if (!ReadToken(token))
                return;
            bool stop = token.kind == TokenKind::Error;
            token.callFollows = NextIsOpenParenthesis();
            compiled.tokens.push_back(std::move(token));
            if (stop)
                return;
        }
    }

private:
    bool ReadToken(ExpressionToken& token)
    {
        char first = m_text[m_position];
        switch (first) {
        case '!': case '(': case ')': case ',': case '^': case '~':
        case '%': case '*': case '-': case '/': case '=': case '>':
            return ReadOperator(token, 1, "=");
        case '&': return ReadOperator(token, 1, "=&");
        case '|': return ReadOperator(token, 1, "=|");
        case '+': return ReadOperator(token, 1, "=+");
        case '<': return ReadOperator(token, 1, "=>");
        case '"': return ReadString(token);
        case '@': return ReadReference(token);
        default:
            if (IsDigit(first))
                return ReadNumber(token);
            return ReadName(token);
        }
    }

    // One character, or two when the next one is among the followers.
    bool ReadOperator(ExpressionToken& token, std::size_t length, std::string_view followers)
    {
        if (m_position + 1 < m_text.size() && followers.find(m_text[m_position + 1]) != std::string_view::npos)
            length = 2;
        token.kind = TokenKind::Operator;
        token.text.assign(m_text.substr(m_position, length));
        token.entry = FindOperator(token.text);
        if (token.text == "++")
            token.kind = TokenKind::Increment;
        m_position += length;
        return true;
    }

    // A string literal up to the next unescaped double quote; a backslash takes the next
    // character ("n", "r", "t", "x" and two hexadecimal digits, or the character itself).
    bool ReadString(ExpressionToken& token)
    {
        std::string value;
        std::size_t position = m_position + 1;
        while (position < m_text.size() && m_text[position] != '"') {
            char character = m_text[position];
            if (character != '\\') {
                value += character;
                ++position;
                continue;
            }
            if (position + 1 >= m_text.size())
                return Fail(token); // a backslash as the last character
            char escaped = m_text[position + 1];
            position += 2;
            switch (escaped) {
            case 'n': value += '\n'; break;
            case 'r': value += '\r'; break;
            case 't': value += '\t'; break;
            case 'x': {
                if (position + 1 >= m_text.size())
                    return Fail(token);
                value += static_cast<char>(ReadTwoHexDigits(m_text.substr(position, 2)));
                position += 2;
                break;
            }
            default: value += escaped; break;
            }
        }
        if (position >= m_text.size())
            return Fail(token); // no closing quote
        m_position = position + 1;
        token.kind = TokenKind::Literal;
        token.literal = ScriptValue::FromText(value, TypeString);
        return true;
    }

    // The byte that up to two hexadecimal digits give; reading stops at the first other one.
    static int ReadTwoHexDigits(std::string_view digits)
    {
        int value = 0;
        for (char digit : digits) {
            if (!IsHexDigit(digit))
                break;
            value = value * 16 + HexValue(digit);
        }
        return value;
    }

    // After the first digit: hexadecimal digits and "."; an "x" right after a "0"; a sign
    // right after an "e" or "E". With a "." it is a double, else an int, read as decimal.
    bool ReadNumber(ExpressionToken& token)
    {
        std::size_t end = m_position + 1;
        while (end < m_text.size()) {
            char character = m_text[end];
            char previous = m_text[end - 1];
            bool taken = IsHexDigit(character) || character == '.' || (character == 'x' && previous == '0')
                || ((character == '+' || character == '-') && (previous == 'e' || previous == 'E'));
            if (!taken)
                break;
            ++end;
        }
        std::string_view literal = m_text.substr(m_position, end - m_position);
        m_position = end;
        token.kind = TokenKind::Literal;
        token.text.assign(literal);
        if (literal.find('.') != std::string_view::npos)
            token.literal = ScriptValue::FromDouble(ReadDecimalNumber(literal));
        else
            token.literal = ScriptValue::FromInt(ReadDecimalInt(literal));
        return true;
    }

    bool ReadReference(ExpressionToken& token)
    {
        std::size_t end = m_position + 1;
        while (end < m_text.size() && IsNameCharacter(m_text[end]))
            ++end;
        token.kind = TokenKind::Reference;
        token.text.assign(m_text.substr(m_position, end - m_position));
        m_position = end;
        return true;
    }

    // A name, with "." and a member name when a "." follows. A "." without a member name ends
    // the tokens. A character that can start nothing is a word of its own, which the loop
    // then rejects, so every step reads at least one character.
    bool ReadName(ExpressionToken& token)
    {
        std::size_t end = m_position;
        while (end < m_text.size() && IsNameCharacter(m_text[end]))
            ++end;
        if (end == m_position) {
            token.kind = TokenKind::Operator;
            token.text.assign(1, m_text[m_position]);
            ++m_position;
            return true;
        }
        if (end < m_text.size() && m_text[end] == '.') {
            std::size_t memberEnd = end + 1;
            while (memberEnd < m_text.size() && IsNameCharacter(m_text[memberEnd]))
                ++memberEnd;
            if (memberEnd == end + 1) {
                token.kind = TokenKind::Name;
                token.text.assign(m_text.substr(m_position, end - m_position));
                token.entry = FindOperator(token.text);
                m_position = m_text.size();
                return true;
            }
            end = memberEnd;
        }
        token.kind = TokenKind::Name;
        token.text.assign(m_text.substr(m_position, end - m_position));
        token.entry = FindOperator(token.text); // "AND" and "OR", when the name is no variable
        m_position = end;
        return true;
    }

    bool Fail(ExpressionToken& token)
    {
        token.kind = TokenKind::Error;
        m_position = m_text.size();
        return true;
    }

    bool NextIsOpenParenthesis() const
    {
        std::size_t position = m_position;
        while (position < m_text.size() && m_text[position] == ' ')
            ++position;
        return position < m_text.size() && m_text[position] == '(';
    }

    std::string_view m_text;
    std::size_t m_position = 0;
};

}

std::unique_ptr<CompiledExpression> CompileExpression(std::string_view text)
{
    auto compiled = std::make_unique<CompiledExpression>();
    Tokenizer(text).Run(*compiled);
    return compiled;
}

void CachedExpression::Compile() const { m_compiled = CompileExpression(m_text); }
