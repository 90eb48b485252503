// CliText: where zentrivo-cli's text meets the terminal. The reference's text
// is Latin-1; the terminal speaks the encoding of the user's locale (LC_ALL,
// else LC_CTYPE, else LANG):
//
// - UTF-8, the encoding of every current desktop: what is printed goes from
//   Latin-1 to UTF-8, text arguments from UTF-8 to Latin-1. A locale whose
//   name says UTF-8 counts as UTF-8 even when it is not installed;
// - ISO-8859-1, and the C and POSIX locales (LANG unset): bytes pass
//   unchanged both ways, the files' own bytes, as a script that reads the
//   output byte for byte expects;
// - any other encoding the C library knows (ISO-8859-15, ...): converted
//   through it; a character it lacks is printed as '?'.
//
// An argument that holds a character Latin-1 cannot hold (the euro sign,
// U+20AC), or bytes that are no text in the terminal's encoding, is refused
// with a message that names it. File and folder names are no text: they are
// handed on as the bytes given, and never pass through here.
#ifndef CLITEXT_H
#define CLITEXT_H

#include <locale.h>

#include <string>

class CliText
{
public:
    enum class Kind
    {
        Bytes, // passed unchanged
        Utf8,
        Other // converted through the C library's locale
    };

    // The encoding of the locale named (as setlocale names one); "" is the
    // environment's. The process's own locale stays as it is.
    explicit CliText(const std::string& locale = "");
    ~CliText();
    CliText(const CliText&) = delete;
    CliText& operator=(const CliText&) = delete;

    Kind GetKind() const { return m_kind; }
    // The name of the terminal's encoding, for messages ("UTF-8").
    const std::string& Encoding() const { return m_sEncoding; }

    // Latin-1 data in the terminal's encoding.
    std::string Out(const std::string& latin1) const;
    // A message in the terminal's encoding. A message may quote file names
    // and the text of YAML files, which are in the terminal's encoding
    // already: on a UTF-8 terminal a well-formed sequence of two or more
    // bytes is kept as it is (no Latin-1 name holds one but by accident, as
    // "\xC3\xA9" would), every other byte is converted as Latin-1.
    std::string Message(const std::string& text) const;
    // An argument typed on the terminal, as Latin-1. False when it cannot be
    // held, with the reason in the terminal's encoding.
    bool In(const std::string& arg, std::string* pLatin1, std::string* pWhy) const;

private:
    static std::string Refusal(const std::string& character, unsigned long cp);
    std::string NotText(const std::string& arg) const;
    bool InOther(const std::string& arg, std::string* pLatin1, std::string* pWhy) const;
    std::string OutOther(const std::string& latin1) const;

    Kind m_kind = Kind::Bytes;
    std::string m_sEncoding;
    locale_t m_locale = static_cast<locale_t>(0); // for Kind::Other
};

#endif
