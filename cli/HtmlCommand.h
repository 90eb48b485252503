// HtmlCommand: "html --out DIR [NAME...]": writes the HTML pages of the named
// commands, or of every command and then the index pages.
#ifndef HTMLCOMMAND_H
#define HTMLCOMMAND_H

#include "CliCommand.h"

class HtmlCommand : public CliCommand
{
public:
    std::string Name() const override;
    std::string Synopsis() const override;
    std::string Summary() const override;
    std::string Description() const override;
    QList<QCommandLineOption> Options() const override;
    size_t MaxArgs() const override { return kAnyCount; }
    int Run(CliContext& ctx, const CliArgs& args) override;
};

#endif
