#include "CxText.h"

#include <cstdio>

std::string CxText::ToUtf8(const std::string& latin1)
{
    std::string out;
    out.reserve(latin1.size());
    for (char ch : latin1) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

size_t CxText::DecodeUtf8(std::string_view text, size_t at, uint32_t* pCp)
{
    if (at >= text.size())
        return 0;
    auto c = static_cast<unsigned char>(text[at]);
    uint32_t cp = 0;
    size_t n = 0;
    if (c < 0x80) {
        cp = c;
        n = 1;
    } else if ((c & 0xE0) == 0xC0) {
        cp = c & 0x1F;
        n = 2;
    } else if ((c & 0xF0) == 0xE0) {
        cp = c & 0x0F;
        n = 3;
    } else if ((c & 0xF8) == 0xF0) {
        cp = c & 0x07;
        n = 4;
    } else {
        return 0;
    }
    if (n > text.size() - at)
        return 0;
    for (size_t k = 1; k < n; ++k) {
        auto cc = static_cast<unsigned char>(text[at + k]);
        if ((cc & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (cc & 0x3F);
    }
    // Over-long forms would let two spellings stand for one character.
    static const uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    *pCp = cp;
    return n;
}

bool CxText::FromUtf8(const std::string& utf8, std::string* pLatin1, std::string* pError)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        uint32_t cp = 0;
        const size_t n = DecodeUtf8(utf8, i, &cp);
        if (n == 0) {
            *pError = "the text is not valid UTF-8";
            return false;
        }
        if (cp == 0) {
            *pError = "the text holds a NUL character, which cannot be stored";
            return false;
        }
        if (cp > 0xFF) {
            char buf[64];
            std::snprintf(buf, sizeof(buf),
                          "character U+%04X cannot be stored (only U+0001..U+00FF)",
                          static_cast<unsigned>(cp));
            *pError = buf;
            return false;
        }
        out += static_cast<char>(cp);
        i += n;
    }
    *pLatin1 = std::move(out);
    return true;
}

std::string CxText::CrLfToLf(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return out;
}

std::string CxText::LfToCrLf(const std::string& text, size_t nMax)
{
    std::string lf = CrLfToLf(text);
    std::string out;
    out.reserve(lf.size() + lf.size() / 16);
    for (char ch : lf) {
        size_t n = ch == '\n' ? 2 : 1;
        if (out.size() + n > nMax)
            break;
        if (ch == '\n')
            out += '\r';
        out += ch;
    }
    return out;
}
