#include "CliDocs.h"

#include "CliCommands.h"

namespace {

// A man page's text: a backslash doubled, a hyphen escaped, a leading dot or
// quote kept from reading as a request.
std::string Roff(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\''))
        out = "\\&" + out;
    return out;
}

// Help text as Markdown: paragraphs as they are, indented lines as code.
std::string MarkdownText(const std::string& text)
{
    std::string out;
    bool bCode = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        const bool bIndented = line.rfind("  ", 0) == 0;
        if (bIndented != bCode) {
            out += bCode ? (line.empty() ? "```\n" : "```\n\n") : "\n```\n";
            bCode = bIndented;
        }
        out += bCode ? line.substr(2) + "\n" : line + "\n";
    }
    if (bCode)
        out += "```\n";
    return out;
}

} // namespace

namespace CliDocs {

std::string Markdown()
{
    std::string out;
    for (const CliCommand& cmd : CliCommands()) {
        out += std::string("### ") + cmd.name + "\n\n`zentrivo-cli " + cmd.synopsis + "`\n\n" +
               cmd.summary + "\n\n" + MarkdownText(cmd.description);
        if (!cmd.options.empty()) {
            out += "\n| Option | |\n|---|---|\n";
            for (const CliOption& opt : cmd.options)
                out += std::string("| `--") + opt.name +
                       (opt.valueName ? std::string(" ") + opt.valueName : std::string()) + "` | " +
                       opt.description + " |\n";
        }
        out += "\n";
    }
    return out;
}

std::string Man()
{
    std::string out;
    for (const CliCommand& cmd : CliCommands())
        out += ".TP\n.B \"" + Roff(cmd.synopsis) + "\"\n" + Roff(cmd.summary) + "\n";
    return out;
}

std::string Between(const std::string& text, const std::string& begin, const std::string& end)
{
    size_t from = text.find(begin);
    size_t to = from == std::string::npos ? from : text.find(end, from + begin.size());
    if (to == std::string::npos)
        return "(markers missing)";
    return text.substr(from + begin.size(), to - from - begin.size());
}

} // namespace CliDocs
