#include "YamlTextWriter.h"

#include "CxText.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

namespace {

// Plain scalars that a YAML reader would take for null or a boolean.
bool IsReservedWord(const std::string& s)
{
    static constexpr std::array<std::string_view, 11> kWords = {
        "~", "null", "true", "false", "yes", "no", "on", "off", "y", "n", "<<"};
    std::string lower(s);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
        return static_cast<char>(c | (c >= 'A' && c <= 'Z' ? 0x20 : 0));
    });
    return std::find(kWords.begin(), kWords.end(), lower) != kWords.end();
}

} // namespace

bool YamlTextWriter::IsClean(const std::string& latin1)
{
    for (size_t i = 0; i < latin1.size(); ++i) {
        auto c = static_cast<unsigned char>(latin1[i]);
        if (c == '\r') {
            if (i + 1 >= latin1.size() || latin1[i + 1] != '\n')
                return false;
            ++i; // the LF of this CR LF
            continue;
        }
        if (c == '\n')
            return false; // an LF without its CR
        if ((c < 0x20 && c != '\t') || c == 0x7F || (c >= 0x80 && c <= 0x9F))
            return false;
    }
    return true;
}

bool YamlTextWriter::IsPlainSafe(const std::string& line)
{
    if (line.empty() || IsReservedWord(line))
        return false;
    static constexpr std::string_view kIndicators = "-?:,[]{}#&*!|>'\"%@` \t";
    if (kIndicators.find(line.front()) != std::string_view::npos)
        return false;
    char last = line.back();
    if (last == ' ' || last == ':')
        return false;
    if (line.find('\t') != std::string::npos || line.find(": ") != std::string::npos ||
        line.find(" #") != std::string::npos)
        return false;
    return true;
}

YamlTextWriter::Style YamlTextWriter::StyleOf(const std::string& latin1)
{
    if (!IsClean(latin1))
        return Style::Raw;
    if (latin1.find('\n') != std::string::npos)
        return Style::Literal;
    return IsPlainSafe(latin1) ? Style::Plain : Style::SingleQuoted;
}

std::string YamlTextWriter::SingleQuoted(const std::string& line)
{
    std::string out = "'";
    for (char ch : line) {
        if (ch == '\'')
            out += '\'';
        out += ch;
    }
    return out + "'";
}

std::string YamlTextWriter::Literal(const std::string& lf, int indent)
{
    size_t nContent = lf.find_last_not_of('\n');
    size_t nTrailing = nContent == std::string::npos ? lf.size() : lf.size() - nContent - 1;
    // Clipping keeps one final line break only after some content, so a text
    // of line breaks alone is kept whole.
    const char* chomp =
        nTrailing == 0 ? "-" : (nTrailing == 1 && nContent != std::string::npos ? "" : "+");

    // Without an indicator the reader takes the indentation from the first
    // non-empty line, which would swallow that line's leading spaces.
    size_t nFirst = lf.find_first_not_of('\n');
    bool bIndicator = nFirst != std::string::npos && lf[nFirst] == ' ';

    const std::string pad(static_cast<size_t>(indent + 2), ' ');
    std::string out = "|";
    if (bIndicator)
        out += '2';
    out += chomp;
    out += '\n';
    size_t start = 0;
    while (start < lf.size()) {
        size_t end = lf.find('\n', start);
        if (end == std::string::npos)
            end = lf.size();
        if (end > start)
            out += pad + lf.substr(start, end - start);
        out += '\n';
        start = end + 1;
    }
    return out;
}

std::string YamlTextWriter::RawQuoted(const std::string& latin1)
{
    std::string out = "!raw \"";
    for (char ch : latin1) {
        auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
                char buf[8];
                std::snprintf(buf, sizeof(buf), "\\x%02X", c);
                out += buf;
            } else {
                out += CxText::ToUtf8(std::string(1, ch));
            }
        }
    }
    return out + "\"";
}

std::string YamlTextWriter::Field(const std::string& key, const std::string& latin1, int indent)
{
    std::string out = key + ":";
    switch (StyleOf(latin1)) {
    case Style::Plain:
        return out + " " + CxText::ToUtf8(latin1) + "\n";
    case Style::SingleQuoted:
        return out + " " + SingleQuoted(CxText::ToUtf8(latin1)) + "\n";
    case Style::Literal:
        return out + " " + Literal(CxText::ToUtf8(CxText::CrLfToLf(latin1)), indent);
    case Style::Raw:
        break;
    }
    return out + " " + RawQuoted(latin1) + "\n";
}
