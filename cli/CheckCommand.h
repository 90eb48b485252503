// CheckCommand: "check": verifies every data file and prints one line per problem.
#ifndef CHECKCOMMAND_H
#define CHECKCOMMAND_H

#include "CliCommand.h"

class CheckCommand : public CliCommand
{
public:
    std::string Name() const override;
    std::string Synopsis() const override;
    std::string Summary() const override;
    std::string Description() const override;

    int Run(CliContext& ctx, const CliArgs& args) override;
};

#endif
