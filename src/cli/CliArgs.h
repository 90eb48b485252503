// CliArgs: a command's parsed options and arguments, as the command takes
// them: text (names, words, values) as Latin-1, converted from the terminal's
// encoding before the command runs (CliText); file and folder names as the
// bytes given on the command line.
#ifndef CLIARGS_H
#define CLIARGS_H

#include <QCommandLineParser>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class CliArgs
{
public:
    // values: the value of every option given with one, by the option's name.
    CliArgs(const QCommandLineParser& parser, std::vector<std::string> positional,
            std::map<std::string, std::string> values)
        : m_parser(parser), m_positional(std::move(positional)), m_values(std::move(values))
    {
    }

    bool IsSet(const char* option) const { return m_parser.isSet(QString::fromLatin1(option)); }
    // The option's value; empty when it was not given.
    std::string Value(const char* option) const
    {
        auto it = m_values.find(option);
        return it == m_values.end() ? std::string() : it->second;
    }
    const std::vector<std::string>& Positional() const { return m_positional; }

    // A decimal number in [nMin, nMax]: digits with an optional sign, nothing else.
    static bool ParseNumber(const std::string& text, int64_t nMin, int64_t nMax, int64_t* pOut);

private:
    const QCommandLineParser& m_parser;
    std::vector<std::string> m_positional;
    std::map<std::string, std::string> m_values;
};

#endif
