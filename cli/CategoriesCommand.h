// CategoriesCommand: "categories": one line per category: id, name and file name,
// separated by tabs.
#ifndef CATEGORIESCOMMAND_H
#define CATEGORIESCOMMAND_H

#include "CliCommand.h"

class CategoriesCommand : public CliCommand
{
public:
    std::string Name() const override;
    std::string Synopsis() const override;
    std::string Summary() const override;
    std::string Description() const override;

    int Run(CliContext& ctx, const CliArgs& args) override;
};

#endif
