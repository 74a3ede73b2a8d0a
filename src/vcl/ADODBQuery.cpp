// The directory provider's LDAP dialect: from the query text to the search
// it stands for. Every value that reaches the LDAP filter is escaped, so no
// text inside quotes can change the shape of the search.
#include "ADODB.h"
#include <cwctype>

namespace {

enum class Tok { End, Word, Text, Number, Comma, Open, Close, Op, Semicolon };

struct Token {
    Tok kind = Tok::End;
    String text;
    std::size_t pos = 0;
};

[[noreturn]] void Fail(const String& what, std::size_t pos)
{
    throw EOleException(L"The directory query is not valid: " + what + L" (at character " +
                        IntToStr(static_cast<Int64>(pos) + 1) + L")");
}

bool IsWordStart(wchar_t c) { return (c < 128 && std::iswalpha(c)) || c == L'_'; }
bool IsWordChar(wchar_t c) { return (c < 128 && std::iswalnum(c)) || c == L'_' || c == L'-'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

std::vector<Token> Tokenize(const String& s)
{
    std::vector<Token> out;
    std::size_t i = 0;
    while (i < s.size()) {
        wchar_t c = s[i];
        if (std::iswspace(c)) {
            ++i;
            continue;
        }
        Token t;
        t.pos = i;
        if (c == L'\'') {
            t.kind = Tok::Text;
            ++i;
            for (;;) {
                if (i >= s.size())
                    Fail(L"a quoted text is not closed", t.pos);
                if (s[i] == L'\'') {
                    if (i + 1 < s.size() && s[i + 1] == L'\'') {
                        t.text += L'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                t.text += s[i++];
            }
        } else if (IsWordStart(c)) {
            t.kind = Tok::Word;
            while (i < s.size() && IsWordChar(s[i]))
                t.text += s[i++];
        } else if (IsDigit(c) || (c == L'-' && i + 1 < s.size() && IsDigit(s[i + 1]))) {
            t.kind = Tok::Number;
            t.text += s[i++];
            while (i < s.size() && IsDigit(s[i]))
                t.text += s[i++];
        } else if (c == L',' || c == L'(' || c == L')' || c == L';') {
            t.kind = c == L',' ? Tok::Comma : c == L'(' ? Tok::Open : c == L')' ? Tok::Close : Tok::Semicolon;
            t.text = String(1, c);
            ++i;
        } else if (c == L'=' || c == L'<' || c == L'>' || c == L'!') {
            t.kind = Tok::Op;
            t.text = String(1, c);
            ++i;
            if (i < s.size() && (s[i] == L'=' || (c == L'<' && s[i] == L'>')))
                t.text += s[i++];
            if (t.text != L"=" && t.text != L"<>" && t.text != L"!=" && t.text != L"<=" && t.text != L">=")
                Fail(L"the comparison \"" + t.text + L"\" is not supported", t.pos);
        } else {
            Fail(L"unexpected character '" + String(1, c) + L"'", i);
        }
        out.push_back(std::move(t));
    }
    Token end;
    end.pos = s.size();
    out.push_back(end);
    return out;
}

// Escapes a value for an LDAP filter as \hh; a wildcard '*' passes when allowed.
String FilterValue(const String& value, bool wildcards)
{
    const wchar_t* hex = L"0123456789abcdef";
    String out;
    for (wchar_t c : value) {
        if ((c == L'*' && !wildcards) || c == L'(' || c == L')' || c == L'\\' || c == L'\0') {
            out += L'\\';
            out += hex[(c >> 4) & 15];
            out += hex[c & 15];
        } else {
            out += c;
        }
    }
    return out;
}

// "LDAP://[server[:port]/]dn"; a backslash escapes the next character, and
// "\/" in the name is a slash of the name itself.
void ParsePath(const String& path, std::size_t pos, TDirectoryQuery& q)
{
    const String prefix = L"LDAP://";
    if (path.size() < prefix.size() || CompareText(path.substr(0, prefix.size()), prefix) != 0)
        Fail(L"the path must begin with \"LDAP://\"", pos);
    String rest = path.substr(prefix.size());

    std::size_t slash = String::npos;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == L'\\') {
            ++i;
        } else if (rest[i] == L'/') {
            slash = i;
            break;
        }
    }
    String dn = slash == String::npos ? rest : rest.substr(slash + 1);
    if (slash != String::npos) {
        String server;
        for (std::size_t i = 0; i < slash; ++i) {
            if (rest[i] == L'\\' && i + 1 < slash)
                ++i;
            server += rest[i];
        }
        std::size_t colon = server.rfind(L':');
        if (colon != String::npos) {
            String port = server.substr(colon + 1);
            bool digits = !port.empty() && port.size() <= 5;
            for (wchar_t c : port)
                digits = digits && IsDigit(c);
            if (!digits || std::stoi(port) < 1 || std::stoi(port) > 65535)
                Fail(L"the port \"" + port + L"\" is not valid", pos);
            q.Port = std::stoi(port);
            server.resize(colon);
        }
        q.Server = server;
    }
    for (std::size_t i = 0; i < dn.size(); ++i) {
        if (dn[i] == L'\\' && i + 1 < dn.size()) {
            if (dn[i + 1] != L'/')
                q.BaseDN += dn[i];
            q.BaseDN += dn[++i];
        } else {
            q.BaseDN += dn[i];
        }
    }
    if (q.BaseDN.empty())
        Fail(L"the path names no object", pos);
}

class Parser {
public:
    explicit Parser(const String& text) : tokens_(Tokenize(text)) {}

    TDirectoryQuery Parse()
    {
        TDirectoryQuery q;
        ExpectWord(L"select");
        do {
            const Token& t = Take();
            if (t.kind != Tok::Word || IsKeyword(t.text))
                Fail(L"an attribute name was expected", t.pos);
            q.Attributes.push_back(t.text);
        } while (Accept(Tok::Comma));
        ExpectWord(L"from");
        const Token& path = Take();
        if (path.kind != Tok::Text)
            Fail(L"the path must be quoted", path.pos);
        ParsePath(path.text, path.pos, q);
        if (AcceptWord(L"where"))
            q.Filter = Or();
        else
            q.Filter = L"(objectClass=*)";
        Accept(Tok::Semicolon);
        if (Peek().kind != Tok::End)
            Fail(L"unexpected \"" + Peek().text + L"\"", Peek().pos);
        return q;
    }

private:
    String Or()
    {
        std::vector<String> parts{And()};
        while (AcceptWord(L"or"))
            parts.push_back(And());
        return Join(L'|', parts);
    }

    String And()
    {
        std::vector<String> parts{Not()};
        while (AcceptWord(L"and"))
            parts.push_back(Not());
        return Join(L'&', parts);
    }

    String Not()
    {
        if (AcceptWord(L"not"))
            return L"(!" + Not() + L")";
        if (Accept(Tok::Open)) {
            String inner = Or();
            if (!Accept(Tok::Close))
                Fail(L"a closing parenthesis was expected", Peek().pos);
            return inner;
        }
        return Comparison();
    }

    String Comparison()
    {
        const Token& attr = Take();
        if (attr.kind != Tok::Word || IsKeyword(attr.text))
            Fail(L"an attribute name was expected", attr.pos);
        const Token& op = Take();
        if (op.kind != Tok::Op)
            Fail(L"a comparison was expected", op.pos);
        const Token& value = Take();
        if (value.kind != Tok::Text && value.kind != Tok::Number)
            Fail(L"a quoted value or a number was expected", value.pos);
        if (op.text == L"<=" || op.text == L">=")
            return L"(" + attr.text + op.text + FilterValue(value.text, false) + L")";
        String equal = L"(" + attr.text + L"=" + FilterValue(value.text, true) + L")";
        return op.text == L"=" ? equal : L"(!" + equal + L")";
    }

    static String Join(wchar_t op, const std::vector<String>& parts)
    {
        if (parts.size() == 1)
            return parts.front();
        String out = L"(" + String(1, op);
        for (const auto& p : parts)
            out += p;
        return out + L")";
    }

    static bool IsKeyword(const String& w)
    {
        for (const wchar_t* k : {L"select", L"from", L"where", L"and", L"or", L"not"})
            if (SameText(w, k))
                return true;
        return false;
    }

    const Token& Peek() const { return tokens_[next_]; }
    const Token& Take()
    {
        const Token& t = tokens_[next_];
        if (t.kind != Tok::End)
            ++next_;
        return t;
    }
    bool Accept(Tok kind)
    {
        if (Peek().kind != kind)
            return false;
        Take();
        return true;
    }
    bool AcceptWord(const wchar_t* word)
    {
        if (Peek().kind != Tok::Word || !SameText(Peek().text, word))
            return false;
        Take();
        return true;
    }
    void ExpectWord(const wchar_t* word)
    {
        if (!AcceptWord(word))
            Fail(L"\"" + String(word) + L"\" was expected", Peek().pos);
    }

    std::vector<Token> tokens_;
    std::size_t next_ = 0;
};

} // namespace

TDirectoryQuery ParseDirectoryQuery(const String& CommandText)
{
    return Parser(CommandText).Parse();
}
