// LspServer: the Language Server Protocol (3.17) over JSON-RPC 2.0, for CL
// source members. It keeps the open documents (full or incremental sync),
// publishes their diagnostics after each open and change, and answers the
// requests LspLanguage knows (hover, completion, signature help, formatting,
// symbols, definition, inlay hints, code actions). A request it does not know
// gets a "method not found" error; a message that is no request or
// notification gets an "invalid request" error; neither stops it.
//
// Every message it sends goes to the send function: the transport is not its
// business, so tests drive it with recorded exchanges.
#ifndef LSPSERVER_H
#define LSPSERVER_H

#include "LspDocument.h"
#include "LspLanguage.h"

#include <QJsonObject>

#include <functional>
#include <map>

class LspServer
{
public:
    using Send = std::function<void(const QJsonObject&)>;

    LspServer(CLCmdManager* pManager, Send send);

    // Handles one message from the client.
    void Handle(const QJsonObject& msg);
    // A frame that held no JSON: answered with a parse error.
    void ParseError(const QString& why);

    // After "exit": whether the server should stop, and its exit status
    // (0 when "shutdown" came first, 1 otherwise).
    bool Done() const { return m_bExit; }
    int ExitStatus() const { return m_bShutdown ? 0 : 1; }

    // JSON-RPC error codes.
    static constexpr int kParseError = -32700, kInvalidRequest = -32600, kMethodNotFound = -32601,
                         kInvalidParams = -32602, kServerNotInitialized = -32002;

private:
    QJsonValue Request(const QString& method, const QJsonObject& params, bool* pFound);
    void Notification(const QString& method, const QJsonObject& params);
    void Publish(const QString& uri);
    void Reply(const QJsonValue& id, const QJsonValue& result);
    void Error(const QJsonValue& id, int code, const QString& message);
    LspDocument* Document(const QJsonObject& params);

    LspLanguage m_language;
    Send m_send;
    std::map<QString, LspDocument> m_docs;
    bool m_bInitialized = false;
    bool m_bShutdown = false;
    bool m_bExit = false;
};

#endif
