// YamlTextWriter: writes one database text as a YAML scalar, choosing the
// style that reads back to the same bytes:
// - texts whose line breaks are all CR LF and that hold no control character
//   but tab (and none of U+0080..U+009F) are written with LF line breaks:
//   one line as a plain or single-quoted scalar, several lines as a literal
//   block with explicit chomping ("|-", "|", "|+") and an indentation
//   indicator when the first non-empty line starts with a space;
// - any other text is written exactly, as a double-quoted scalar with escapes
//   tagged "!raw".
#ifndef YAMLTEXTWRITER_H
#define YAMLTEXTWRITER_H

#include <string>

class YamlTextWriter
{
public:
    enum class Style
    {
        Plain,
        SingleQuoted,
        Literal,
        Raw
    };

    // The style Field() uses for this text (Latin-1 bytes, CR LF line breaks).
    static Style StyleOf(const std::string& latin1);
    // "key: value" and a final LF; a literal block's lines are indented by
    // indent + 2 spaces, where indent is the column of the key.
    static std::string Field(const std::string& key, const std::string& latin1, int indent);

private:
    static bool IsClean(const std::string& latin1);
    static bool IsPlainSafe(const std::string& line);
    static std::string SingleQuoted(const std::string& line);
    static std::string Literal(const std::string& lf, int indent);
    static std::string RawQuoted(const std::string& latin1);
};

#endif
