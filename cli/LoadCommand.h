// LoadCommand: "load DIR": saves every DIR/*.yaml as its per-command file,
// adding or updating index entries, and merges DIR/categories.yaml into the
// category list. A file that cannot be taken is reported as "FILE: reason"
// and skipped; the index and category files are written only when they change.
#ifndef LOADCOMMAND_H
#define LOADCOMMAND_H

#include "CliCommand.h"

struct RecordDoc;

class LoadCommand : public CliCommand
{
public:
    std::string Name() const override;
    std::string Synopsis() const override;
    std::string Summary() const override;
    std::string Description() const override;
    size_t MinArgs() const override { return 1; }
    size_t MaxArgs() const override { return 1; }
    int Run(CliContext& ctx, const CliArgs& args) override;

private:
    // Loads a list file of the home, or starts an empty list when there is none.
    static bool LoadOrStart(CliContext& ctx, bool bIndex);
    // Saves one record and brings its index entry in line; false when refused.
    bool LoadRecord(CliContext& ctx, const std::string& path, const std::string& stem);
    bool LoadCategories(CliContext& ctx, const std::string& path);

    bool m_bIndexChanged = false;
    bool m_bCatsChanged = false;
};

#endif
