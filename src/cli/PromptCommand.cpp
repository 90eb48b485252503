// prompt and explain: a command string built from keyword values, and one
// read back, over a command's parameters in the reference.
#include "CliCommands.h"

#include "CLPrompt.h"
#include "CLRecordUtil.h"
#include "CliContext.h"

namespace {

std::string Upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// The command's record, read as the run mode says; null (said why) when the
// command is not in the reference or has no parameters there.
const CLCmdRecord* Record(CliContext& ctx, const std::string& name)
{
    if (!ctx.LoadIndex())
        return nullptr;
    CLCmdIndex* pIdx = ctx.Manager().FindCmdIdx(name.c_str());
    if (!pIdx) {
        ctx.Error("CL command \"" + name + "\" not found.");
        return nullptr;
    }
    bool bRead = false;
    const CLCmdRecord* pRec = ctx.AttachRecord(pIdx, &bRead);
    if (!bRead) {
        ctx.Error("the record of \"" + name + "\" cannot be read.");
        return nullptr;
    }
    if (pRec->dwParamCount == 0) {
        ctx.Error("the reference holds no parameters of " + name + ".");
        return nullptr;
    }
    return pRec;
}

// The problems, one line each; the exit status: 1 for an error, 0 for notes
// alone (a keyword that a partial record does not list may well be right).
int Problems(CliContext& ctx, const std::vector<CLPromptProblem>& problems)
{
    for (const CLPromptProblem& p : problems)
        ctx.ErrorLine(p.bNote ? "note: " + p.text : p.text);
    return CLPromptProblem::AnyError(problems) ? kExitFailed : kExitOk;
}

} // namespace

int RunPrompt(CliContext& ctx, const CliArgs& args)
{
    const std::vector<std::string>& pos = args.Positional();
    const std::string name = Upper(pos[0]);
    std::vector<std::pair<std::string, std::string>> values;
    for (size_t i = 1; i < pos.size(); ++i) {
        size_t eq = pos[i].find('=');
        if (eq == std::string::npos || eq == 0) {
            ctx.Error("prompt: \"" + pos[i] + "\" is not KEYWORD=VALUE.");
            return kExitUsage;
        }
        values.emplace_back(pos[i].substr(0, eq), pos[i].substr(eq + 1));
    }
    const CLCmdRecord* pRec = Record(ctx, name);
    if (!pRec)
        return kExitFailed;
    CLPrompt prompt(*pRec);
    std::vector<CLPromptProblem> problems;
    std::string command = prompt.Build(values, &problems);
    if (args.IsSet("source"))
        command = CLCommandString::FormatSource(command);
    ctx.Out(command + "\n");
    return Problems(ctx, problems);
}

int RunExplain(CliContext& ctx, const CliArgs& args)
{
    std::string text;
    for (const std::string& part : args.Positional())
        text += (text.empty() ? "" : " ") + part;
    CLParsedCommand parsed;
    std::string why;
    if (!CLCommandString::Parse(text, &parsed, &why)) {
        ctx.Error("explain: " + why);
        return kExitUsage;
    }
    const CLCmdRecord* pRec = Record(ctx, parsed.name);
    if (!pRec)
        return kExitFailed;
    CLPrompt prompt(*pRec);
    std::vector<CLGivenParam> given;
    std::vector<CLPromptProblem> problems;
    if (!prompt.Explain(text, &given, &problems, &why)) {
        ctx.Error("explain: " + why);
        return kExitUsage;
    }
    std::string out;
    for (const CLGivenParam& g : given) {
        out += (g.keyword.empty() ? "?" : g.keyword) + "\t" + g.value + "\t" +
               (g.bKnown      ? g.desc
                : g.bUnlisted ? "(not listed in this reference)"
                              : "(no such parameter)");
        if (g.position > 0)
            out += "\t(positional " + std::to_string(g.position) + ")";
        out += "\n";
    }
    ctx.Out(out);
    return Problems(ctx, problems);
}
