// CliArgs: a command's parsed options and arguments. Arguments arrive as the
// bytes given on the command line (read as Latin-1 so that every byte
// survives), and are handed out as those bytes again.
#ifndef CLIARGS_H
#define CLIARGS_H

#include <QCommandLineParser>

#include <cstdint>
#include <string>
#include <vector>

class CliArgs
{
public:
    CliArgs(const QCommandLineParser& parser, std::vector<std::string> positional)
        : m_parser(parser), m_positional(std::move(positional))
    {
    }

    bool IsSet(const char* option) const { return m_parser.isSet(QString::fromLatin1(option)); }
    std::string Value(const char* option) const
    {
        return m_parser.value(QString::fromLatin1(option)).toLatin1().toStdString();
    }
    const std::vector<std::string>& Positional() const { return m_positional; }

    // A decimal number in [nMin, nMax]: digits with an optional sign, nothing else.
    static bool ParseNumber(const std::string& text, int64_t nMin, int64_t nMax, int64_t* pOut);

private:
    const QCommandLineParser& m_parser;
    std::vector<std::string> m_positional;
};

#endif
