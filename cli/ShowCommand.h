// ShowCommand: "show NAME": a command's record as readable text.
#ifndef SHOWCOMMAND_H
#define SHOWCOMMAND_H

#include "CliCommand.h"

class ShowCommand : public CliCommand
{
public:
    std::string Name() const override;
    std::string Synopsis() const override;
    std::string Summary() const override;
    std::string Description() const override;
    size_t MinArgs() const override { return 1; }
    size_t MaxArgs() const override { return 1; }
    int Run(CliContext& ctx, const CliArgs& args) override;
};

#endif
