// lsp: the language server over standard input and output.
#include "CliCommands.h"

#include "CliContext.h"
#include "LspServer.h"
#include "LspTransport.h"

#include <cstdio>

int RunLsp(CliContext& ctx, const CliArgs&)
{
    if (!ctx.LoadIndex())
        return kExitFailed;
    LspTransport transport(stdin, stdout);
    LspServer server(&ctx.Manager(),
                     [&transport](const QJsonObject& msg) { transport.Write(msg); });
    QJsonObject msg;
    QString why;
    while (!server.Done()) {
        const LspTransport::Result r = transport.Read(&msg, &why);
        if (r == LspTransport::End)
            return server.ExitStatus() == 0 ? kExitOk : kExitFailed;
        if (r == LspTransport::Invalid)
            server.ParseError(why);
        else
            server.Handle(msg);
    }
    return server.ExitStatus();
}
