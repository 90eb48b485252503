#include "CliText.h"

#include "CxText.h"

#include <langinfo.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

// An encoding's name without case, '-' and '_': "utf-8" and "UTF8" alike.
std::string Folded(const std::string& name)
{
    std::string out;
    for (char c : name) {
        if (c == '-' || c == '_')
            continue;
        out += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return out;
}

// The locale the C library would take for LC_CTYPE from the environment.
std::string EnvironmentLocale()
{
    for (const char* var : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(var);
        if (value && *value)
            return value;
    }
    return "C";
}

// The bytes of one Latin-1 character in UTF-8.
void AppendUtf8(std::string* pOut, unsigned char c)
{
    *pOut += static_cast<char>(0xC0 | (c >> 6));
    *pOut += static_cast<char>(0x80 | (c & 0x3F));
}

// Switches the calling thread to a locale for as long as it lives.
class LocaleScope
{
public:
    explicit LocaleScope(locale_t loc) : m_old(uselocale(loc)) {}
    ~LocaleScope() { uselocale(m_old); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

private:
    locale_t m_old;
};

} // namespace

CliText::CliText(const std::string& locale)
{
    const std::string name = locale.empty() ? EnvironmentLocale() : locale;
    locale_t loc = newlocale(LC_CTYPE_MASK, name.c_str(), static_cast<locale_t>(0));
    if (!loc) {
        // Not installed: its name still tells UTF-8, by far the most common.
        const std::string folded = Folded(name);
        const bool bUtf8 = folded.find("UTF8") != std::string::npos;
        m_kind = bUtf8 ? Kind::Utf8 : Kind::Bytes;
        m_sEncoding = bUtf8 ? "UTF-8" : "ANSI_X3.4-1968";
        return;
    }
    m_sEncoding = nl_langinfo_l(CODESET, loc);
    const std::string folded = Folded(m_sEncoding);
    if (folded == "UTF8") {
        m_kind = Kind::Utf8;
    } else if (folded == "ISO88591" || folded == "ANSIX3.41968" || folded == "ASCII" ||
               folded == "USASCII") {
        m_kind = Kind::Bytes;
    } else {
#ifdef __STDC_ISO_10646__
        // A wide character is the character's code point, so a Latin-1 byte
        // is the wide character of its value.
        m_kind = Kind::Other;
        m_locale = loc;
        return;
#else
        m_kind = Kind::Bytes;
#endif
    }
    freelocale(loc);
}

CliText::~CliText()
{
    if (m_locale)
        freelocale(m_locale);
}

std::string CliText::Out(const std::string& latin1) const
{
    switch (m_kind) {
    case Kind::Utf8:
        return CxText::ToUtf8(latin1);
    case Kind::Other:
        return OutOther(latin1);
    case Kind::Bytes:
        break;
    }
    return latin1;
}

std::string CliText::OutOther(const std::string& latin1) const
{
    LocaleScope scope(m_locale);
    std::string out;
    out.reserve(latin1.size());
    char buf[MB_LEN_MAX];
    std::mbstate_t state{};
    for (char ch : latin1) {
        const size_t n =
            std::wcrtomb(buf, static_cast<wchar_t>(static_cast<unsigned char>(ch)), &state);
        if (n == static_cast<size_t>(-1)) {
            out += '?';
            state = std::mbstate_t{};
        } else {
            out.append(buf, n);
        }
    }
    return out;
}

std::string CliText::Message(const std::string& text) const
{
    if (m_kind != Kind::Utf8)
        return Out(text);
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        uint32_t cp = 0;
        size_t n = c < 0x80 ? 1 : CxText::DecodeUtf8(text, i, &cp);
        if (n >= 2) {
            out.append(text, i, n);
            i += n;
            continue;
        }
        if (c < 0x80)
            out += static_cast<char>(c);
        else
            AppendUtf8(&out, c);
        ++i;
    }
    return out;
}

std::string CliText::Refusal(const std::string& character, unsigned long cp)
{
    char code[16];
    std::snprintf(code, sizeof code, "U+%04lX", cp);
    return "the character '" + character + "' (" + code +
           ") cannot be held in the reference's Latin-1 text.";
}

std::string CliText::NotText(const std::string& arg) const
{
    // The argument's bytes may be anything: shown as ASCII, the rest as '?'.
    std::string shown;
    for (char c : arg)
        shown += c >= 0x20 && c < 0x7F ? c : '?';
    return "\"" + shown + "\" is not " + m_sEncoding + " text, the terminal's encoding.";
}

bool CliText::In(const std::string& arg, std::string* pLatin1, std::string* pWhy) const
{
    if (m_kind == Kind::Bytes) {
        *pLatin1 = arg;
        return true;
    }
    if (m_kind == Kind::Other)
        return InOther(arg, pLatin1, pWhy);
    std::string out;
    out.reserve(arg.size());
    for (size_t i = 0; i < arg.size();) {
        uint32_t cp = 0;
        const size_t n = CxText::DecodeUtf8(arg, i, &cp);
        if (n == 0) {
            *pWhy = NotText(arg);
            return false;
        }
        if (cp > 0xFF) {
            *pWhy = Refusal(arg.substr(i, n), cp);
            return false;
        }
        out += static_cast<char>(cp);
        i += n;
    }
    *pLatin1 = std::move(out);
    return true;
}

bool CliText::InOther(const std::string& arg, std::string* pLatin1, std::string* pWhy) const
{
    LocaleScope scope(m_locale);
    std::string out;
    std::mbstate_t state{};
    for (size_t i = 0; i < arg.size();) {
        wchar_t wc = 0;
        const size_t n = std::mbrtowc(&wc, arg.data() + i, arg.size() - i, &state);
        if (n == static_cast<size_t>(-1) || n == static_cast<size_t>(-2) || n == 0) {
            *pWhy = NotText(arg);
            return false;
        }
        if (static_cast<unsigned long>(wc) > 0xFF) {
            *pWhy = Refusal(arg.substr(i, n), static_cast<unsigned long>(wc));
            return false;
        }
        out += static_cast<char>(wc);
        i += n;
    }
    *pLatin1 = std::move(out);
    return true;
}
