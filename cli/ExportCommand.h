// ExportCommand: "export DIR": every index entry's record as DIR/NAME.yaml, and the
// category list as DIR/categories.yaml.
#ifndef EXPORTCOMMAND_H
#define EXPORTCOMMAND_H

#include "CliCommand.h"

class ExportCommand : public CliCommand
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
