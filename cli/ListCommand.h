// ListCommand: "list [--category ID]": the command names in index order.
#ifndef LISTCOMMAND_H
#define LISTCOMMAND_H

#include "CliCommand.h"

class ListCommand : public CliCommand
{
public:
    std::string Name() const override;
    std::string Synopsis() const override;
    std::string Summary() const override;
    std::string Description() const override;
    QList<QCommandLineOption> Options() const override;
    int Run(CliContext& ctx, const CliArgs& args) override;
};

#endif
