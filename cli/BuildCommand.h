// BuildCommand: "build": joins data/NAME.dat into clcmd.dat and rewrites cldict.dat
// with each record's position.
#ifndef BUILDCOMMAND_H
#define BUILDCOMMAND_H

#include "CliCommand.h"

class BuildCommand : public CliCommand
{
public:
    std::string Name() const override;
    std::string Synopsis() const override;
    std::string Summary() const override;
    std::string Description() const override;

    int Run(CliContext& ctx, const CliArgs& args) override;
};

#endif
