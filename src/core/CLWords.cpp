#include "CLWords.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool IsFirstNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || c == '$' || c == '#' || c == '@';
}

bool IsNameChar(char c)
{
    return IsFirstNameChar(c) || (c >= '0' && c <= '9') || c == '_' || c == '.';
}

// One part of a qualified name, or a whole word. Names longer than those of
// objects are still read as one name (function IDs hold up to 30).
bool IsBarePart(const std::string& part)
{
    using namespace CLWords;
    constexpr size_t kLong = 255;
    const bool bGeneric =
        part.size() > 1 && part.back() == '*' && IsName(part.substr(0, part.size() - 1), kLong);
    return IsName(part, kLong) || IsQuotedName(part) || bGeneric || IsSpecialValue(part) ||
           IsNumber(part) || IsVariable(part);
}

} // namespace

namespace CLWords {

bool IsName(const std::string& word, size_t nMax)
{
    if (word.empty() || word.size() > nMax || !IsFirstNameChar(word[0]))
        return false;
    return std::all_of(word.begin() + 1, word.end(), IsNameChar);
}

bool IsQuotedName(const std::string& word)
{
    if (word.size() < 3 || word.front() != '"' || word.back() != '"' ||
        word.size() - 2 > kMaxQuotedName)
        return false;
    for (size_t i = 1; i + 1 < word.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(word[i]);
        if (c < 0x20 || c == 0xFF || c == '*' || c == '?' || c == '\'' || c == '"')
            return false;
    }
    return true;
}

bool IsGenericName(const std::string& word)
{
    return word.size() >= 2 && word.back() == '*' &&
           IsName(word.substr(0, word.size() - 1), kMaxName - 1);
}

bool IsSpecialValue(const std::string& word)
{
    return !word.empty() && word[0] == '*' && std::all_of(word.begin() + 1, word.end(), IsNameChar);
}

bool IsVariable(const std::string& word)
{
    return word.size() >= 2 && word[0] == '&' && IsName(word.substr(1), 255);
}

bool IsHexConstant(const std::string& word)
{
    if (word.size() < 3 || word[0] != 'X' || word[1] != '\'' || word.back() != '\'')
        return false;
    const std::string digits = word.substr(2, word.size() - 3);
    return digits.size() % 2 == 0 && std::all_of(digits.begin(), digits.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
           });
}

bool ParseNumber(const std::string& word, double* pOut)
{
    std::string t = word;
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    bool bDigit = false, bPoint = false;
    for (; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9') {
            bDigit = true;
        } else if ((t[i] == '.' || t[i] == ',') && !bPoint) {
            bPoint = true;
            t[i] = '.';
        } else {
            return false;
        }
    }
    if (!bDigit)
        return false;
    *pOut = std::strtod(t.c_str(), nullptr);
    return true;
}

bool IsNumber(const std::string& word)
{
    double v;
    return ParseNumber(word, &v);
}

std::vector<std::string> Parts(const std::string& word)
{
    std::vector<std::string> parts;
    size_t b = 0;
    for (;;) {
        size_t slash = word.find('/', b);
        parts.push_back(word.substr(b, slash == std::string::npos ? std::string::npos : slash - b));
        if (slash == std::string::npos)
            return parts;
        b = slash + 1;
    }
}

bool IsOperator(const std::string& word)
{
    static const char* const kOperators[] = {
        "+",   "-",   "*",   "/",   "||",   "|>",    "|<",    "&",     "|",
        "=",   ">",   "<",   ">=",  "<=",   "\xAC=", "\xAC>", "\xAC<", "\xAC",
        "!=",  "!>",  "!<",  "!",   "*CAT", "*BCAT", "*TCAT", "*EQ",   "*GT",
        "*LT", "*GE", "*LE", "*NE", "*NG",  "*NL",   "*AND",  "*OR",   "*NOT"};
    return std::any_of(std::begin(kOperators), std::end(kOperators),
                       [&](const char* op) { return word == op; });
}

bool IsBareValue(const std::string& word)
{
    if (IsBarePart(word) || IsHexConstant(word))
        return true;
    const std::vector<std::string> parts = Parts(word);
    return parts.size() > 1 && std::all_of(parts.begin(), parts.end(), IsBarePart);
}

} // namespace CLWords
