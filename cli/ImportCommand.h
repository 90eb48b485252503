// ImportCommand: "import [--records] FILE": replaces clcat.dat and cldict.dat
// from a CL text list and, on request, seeds the missing per-command files.
#ifndef IMPORTCOMMAND_H
#define IMPORTCOMMAND_H

#include "CliCommand.h"

class ImportCommand : public CliCommand
{
public:
    std::string Name() const override;
    std::string Synopsis() const override;
    std::string Summary() const override;
    std::string Description() const override;
    QList<QCommandLineOption> Options() const override;
    size_t MinArgs() const override { return 1; }
    size_t MaxArgs() const override { return 1; }
    int Run(CliContext& ctx, const CliArgs& args) override;
};

#endif
