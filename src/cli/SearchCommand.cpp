// search and msgid: full-text search and the commands that send a message.
#include "CLSearch.h"
#include "CLSearchScan.h"
#include "CliCommands.h"
#include "CliContext.h"

namespace {

// How many commands search prints unless asked for another number or all.
constexpr size_t kDefaultLimit = 20;

// Searches once; false (after saying why) when the records cannot be read.
bool Search(CliContext& ctx, const std::string& query, size_t nLimit, CLSearch::Results* pOut)
{
    std::string why;
    if (!CLSearchScan::RunOnFolder(ctx.Manager().GetOptions(), query, nLimit, pOut, &why)) {
        ctx.Error(why);
        return false;
    }
    return true;
}

} // namespace

int RunSearch(CliContext& ctx, const CliArgs& args)
{
    int64_t nLimit = kDefaultLimit;
    if (args.IsSet("limit") && !CliArgs::ParseNumber(args.Value("limit"), 1, INT32_MAX, &nLimit)) {
        ctx.Error("search: --limit needs a number from 1, not \"" + args.Value("limit") + "\".");
        return kExitUsage;
    }
    if (args.IsSet("all")) {
        if (args.IsSet("limit")) {
            ctx.Error("search: --all and --limit cannot be given together.");
            return kExitUsage;
        }
        nLimit = INT64_MAX;
    }
    std::string query;
    for (const std::string& word : args.Positional())
        query += (query.empty() ? "" : " ") + word;
    CLSearch::Results results;
    if (!Search(ctx, query, static_cast<size_t>(nLimit), &results))
        return kExitFailed;
    if (!results.corrected.empty())
        ctx.ErrorLine("Showing results for " + results.corrected);
    std::string out;
    for (const CLSearch::Hit& h : results.hits)
        out += h.name + "\t" + h.title + "\t" + h.where + "\n";
    ctx.Out(out);
    if (results.nFound > results.hits.size() && !args.IsSet("limit"))
        ctx.ErrorLine(std::to_string(results.hits.size()) + " of " +
                      std::to_string(results.nFound) + " commands shown; --all shows every one.");
    return results.hits.empty() ? kExitFailed : kExitOk;
}

int RunMsgid(CliContext& ctx, const CliArgs& args)
{
    const std::string& id = args.Positional()[0];
    if (!CLSearch::IsMessageId(id)) {
        ctx.Error("msgid: \"" + id +
                  "\" is not a message id (three letters, four hexadecimal digits).");
        return kExitUsage;
    }
    if (args.IsSet("monmsg") || args.IsSet("goto")) {
        const std::string label = args.IsSet("goto") ? args.Value("goto") : std::string();
        std::string line;
        if (!CLSearch::MonitorLine(id, label, &line)) {
            ctx.Error("msgid: \"" + label +
                      "\" is not a CL label (up to 10 letters, digits, $ # @ _, the first "
                      "not a digit or _).");
            return kExitUsage;
        }
        ctx.Out(line + "\n");
        return kExitOk;
    }
    CLSearch::Results results;
    if (!Search(ctx, id, 0, &results))
        return kExitFailed;
    std::string out;
    for (const CLSearch::MessageHit& m : results.sends)
        out += m.name + "\t" + m.text + "\n";
    ctx.Out(out);
    return results.sends.empty() ? kExitFailed : kExitOk;
}
