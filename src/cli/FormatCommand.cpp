// format: CL source members laid out as the prompter writes them, to
// standard output, checked (--check) or rewritten in place.
#include "CliCommands.h"

#include "CLSourceFormat.h"
#include "CliContext.h"

int RunFormat(CliContext& ctx, const CliArgs& args)
{
    const bool bCheck = args.IsSet("check"), bInPlace = args.IsSet("in-place");
    if (bCheck && bInPlace) {
        ctx.Error("format: --check and --in-place do not go together.");
        return kExitUsage;
    }
    CLFormatOptions options;
    options.bKeepCase = args.IsSet("keep-case");
    if (args.IsSet("margin")) {
        int64_t margin = 0;
        if (!CliArgs::ParseNumber(args.Value("margin"), 40, 240, &margin)) {
            ctx.Error("format: --margin is a number from 40 to 240.");
            return kExitUsage;
        }
        options.nRightMargin = static_cast<int>(margin);
    }
    int status = kExitOk;
    for (const std::string& file : args.Positional()) {
        std::string text, formatted, why;
        if (!CliContext::ReadFile(file, &text)) {
            ctx.Error("format: \"" + file + "\" cannot be read.");
            return kExitUsage;
        }
        if (!CLSourceFormat::Format(text, options, &formatted, &why)) {
            ctx.Error("format: " + file + ": " + why);
            status = kExitFailed; // left as it is
            continue;
        }
        if (bCheck) {
            if (formatted != text) {
                ctx.ErrorLine(file + ": would be reformatted");
                status = kExitFailed;
            }
        } else if (bInPlace) {
            if (formatted != text && !CliContext::WriteFile(file, formatted)) {
                ctx.Error("format: \"" + file + "\" cannot be written.");
                return kExitFailed;
            }
        } else {
            ctx.OutAsIs(formatted); // the member's own encoding
        }
    }
    return status;
}
