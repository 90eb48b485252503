// CxText: the text conversions at the edges of the data files. The files hold
// single bytes (ISO-8859-1) with CR LF between lines; YAML files are UTF-8
// and windows show LF between lines.
#ifndef CXTEXT_H
#define CXTEXT_H

#include <cstdint>
#include <string>
#include <string_view>

class CxText
{
public:
    // Every byte becomes the character of the same number, in UTF-8.
    static std::string ToUtf8(const std::string& latin1);
    // The reverse; false with a reason in *pError for text that is not valid
    // UTF-8 or holds a character the database cannot store (U+0000, or any
    // character above U+00FF).
    static bool FromUtf8(const std::string& utf8, std::string* pLatin1, std::string* pError);
    // The length in bytes of the UTF-8 sequence that begins at text[at], and
    // its code point in *pCp; 0 for a sequence that is not valid UTF-8 (cut
    // short, a stray or missing continuation byte, an over-long form, a
    // surrogate, beyond U+10FFFF).
    static size_t DecodeUtf8(std::string_view text, size_t at, uint32_t* pCp);
    // CR LF becomes LF; a lone CR or LF stays.
    static std::string CrLfToLf(const std::string& text);
    // Normalises CR LF to LF, then turns every LF into CR LF; the result is
    // cut to at most nMax bytes without splitting a CR LF.
    static std::string LfToCrLf(const std::string& text, size_t nMax = std::string::npos);
};

#endif
