#include "LspServer.h"

#include <QJsonArray>

namespace {

QJsonObject Capabilities()
{
    return {{"positionEncoding", "utf-16"},
            {"textDocumentSync", QJsonObject{{"openClose", true}, {"change", 2}}},
            {"hoverProvider", true},
            {"completionProvider", QJsonObject{{"triggerCharacters", QJsonArray{"(", "*", " "}}}},
            {"signatureHelpProvider", QJsonObject{{"triggerCharacters", QJsonArray{"(", " "}}}},
            {"documentFormattingProvider", true},
            {"documentRangeFormattingProvider", true},
            {"documentSymbolProvider", true},
            {"definitionProvider", true},
            {"inlayHintProvider", true},
            {"codeActionProvider",
             QJsonObject{{"codeActionKinds", QJsonArray{"quickfix", "refactor.rewrite"}}}}};
}

} // namespace

LspServer::LspServer(CLCmdManager* pManager, Send send)
    : m_language(pManager), m_send(std::move(send))
{
}

void LspServer::Reply(const QJsonValue& id, const QJsonValue& result)
{
    m_send({{"jsonrpc", "2.0"}, {"id", id}, {"result", result}});
}

void LspServer::Error(const QJsonValue& id, int code, const QString& message)
{
    m_send({{"jsonrpc", "2.0"},
            {"id", id},
            {"error", QJsonObject{{"code", code}, {"message", message}}}});
}

void LspServer::ParseError(const QString& why)
{
    Error(QJsonValue::Null, kParseError, QStringLiteral("Parse error: %1").arg(why));
}

void LspServer::Handle(const QJsonObject& msg)
{
    const QJsonValue id = msg.value(QLatin1String("id"));
    const QJsonValue method = msg.value(QLatin1String("method"));
    const bool bRequest = msg.contains(QLatin1String("id"));
    if (!method.isString()) {
        if (bRequest && !msg.contains(QLatin1String("result")) &&
            !msg.contains(QLatin1String("error")))
            Error(id, kInvalidRequest, QStringLiteral("A request needs a method."));
        return; // a response to a request of ours, or nothing at all
    }
    const QJsonObject params = msg.value(QLatin1String("params")).toObject();
    if (!bRequest) {
        Notification(method.toString(), params);
        return;
    }
    if (!id.isString() && !id.isDouble()) {
        Error(QJsonValue::Null, kInvalidRequest,
              QStringLiteral("A request's id is a number or a string."));
        return;
    }
    if (!m_bInitialized && method.toString() != QLatin1String("initialize")) {
        Error(id, kServerNotInitialized, QStringLiteral("The server is not initialized yet."));
        return;
    }
    bool bFound = true;
    const QJsonValue result = Request(method.toString(), params, &bFound);
    if (bFound)
        Reply(id, result);
    else
        Error(id, kMethodNotFound, QStringLiteral("Unknown method %1.").arg(method.toString()));
}

LspDocument* LspServer::Document(const QJsonObject& params)
{
    const QString uri = params.value(QLatin1String("textDocument"))
                            .toObject()
                            .value(QLatin1String("uri"))
                            .toString();
    auto it = m_docs.find(uri);
    return it == m_docs.end() ? nullptr : &it->second;
}

QJsonValue LspServer::Request(const QString& method, const QJsonObject& params, bool* pFound)
{
    if (method == QLatin1String("initialize")) {
        m_bInitialized = true;
        return QJsonObject{
            {"capabilities", Capabilities()},
            {"serverInfo", QJsonObject{{"name", "zentrivo-cli"}, {"version", ZENTRIVO_VERSION}}}};
    }
    if (method == QLatin1String("shutdown")) {
        m_bShutdown = true;
        return QJsonValue::Null;
    }
    const QJsonObject position = params.value(QLatin1String("position")).toObject();
    const QJsonObject range = params.value(QLatin1String("range")).toObject();
    const QString uri = params.value(QLatin1String("textDocument"))
                            .toObject()
                            .value(QLatin1String("uri"))
                            .toString();
    LspDocument* pDoc = Document(params);
    const bool bKnown = method == QLatin1String("textDocument/hover") ||
                        method == QLatin1String("textDocument/completion") ||
                        method == QLatin1String("textDocument/signatureHelp") ||
                        method == QLatin1String("textDocument/formatting") ||
                        method == QLatin1String("textDocument/rangeFormatting") ||
                        method == QLatin1String("textDocument/documentSymbol") ||
                        method == QLatin1String("textDocument/definition") ||
                        method == QLatin1String("textDocument/inlayHint") ||
                        method == QLatin1String("textDocument/codeAction");
    if (!bKnown) {
        *pFound = false;
        return QJsonValue::Null;
    }
    if (!pDoc) // a document the client did not open: nothing to say about it
        return method == QLatin1String("textDocument/hover") ||
                       method == QLatin1String("textDocument/signatureHelp") ||
                       method == QLatin1String("textDocument/definition")
                   ? QJsonValue(QJsonValue::Null)
                   : QJsonValue(QJsonArray());
    if (method == QLatin1String("textDocument/hover"))
        return m_language.Hover(*pDoc, position);
    if (method == QLatin1String("textDocument/completion"))
        return m_language.Completion(*pDoc, position);
    if (method == QLatin1String("textDocument/signatureHelp"))
        return m_language.SignatureHelp(*pDoc, position);
    if (method == QLatin1String("textDocument/formatting"))
        return m_language.Format(*pDoc, nullptr);
    if (method == QLatin1String("textDocument/rangeFormatting"))
        return m_language.Format(*pDoc, &range);
    if (method == QLatin1String("textDocument/documentSymbol"))
        return m_language.Symbols(*pDoc);
    if (method == QLatin1String("textDocument/definition"))
        return m_language.Definition(*pDoc, uri, position);
    if (method == QLatin1String("textDocument/inlayHint"))
        return m_language.InlayHints(*pDoc, range);
    return m_language.CodeActions(*pDoc, uri, range);
}

void LspServer::Notification(const QString& method, const QJsonObject& params)
{
    if (method == QLatin1String("exit")) {
        m_bExit = true;
        return;
    }
    const QJsonObject textDocument = params.value(QLatin1String("textDocument")).toObject();
    const QString uri = textDocument.value(QLatin1String("uri")).toString();
    if (method == QLatin1String("textDocument/didOpen")) {
        LspDocument& doc = m_docs[uri];
        doc.SetText(textDocument.value(QLatin1String("text")).toString());
        doc.version = textDocument.value(QLatin1String("version")).toInt();
        Publish(uri);
    } else if (method == QLatin1String("textDocument/didChange")) {
        LspDocument* pDoc = Document(params);
        if (!pDoc)
            return;
        for (const QJsonValue& v : params.value(QLatin1String("contentChanges")).toArray()) {
            const QJsonObject change = v.toObject();
            const QString text = change.value(QLatin1String("text")).toString();
            if (change.contains(QLatin1String("range")))
                pDoc->Replace(change.value(QLatin1String("range")).toObject(), text);
            else
                pDoc->SetText(text);
        }
        pDoc->version = textDocument.value(QLatin1String("version")).toInt();
        Publish(uri);
    } else if (method == QLatin1String("textDocument/didClose")) {
        m_docs.erase(uri);
        // Its diagnostics go with it.
        m_send({{"jsonrpc", "2.0"},
                {"method", "textDocument/publishDiagnostics"},
                {"params", QJsonObject{{"uri", uri}, {"diagnostics", QJsonArray()}}}});
    }
    // Other notifications (initialized, didSave, $/cancelRequest, ...) need nothing.
}

void LspServer::Publish(const QString& uri)
{
    const LspDocument& doc = m_docs[uri];
    m_send({{"jsonrpc", "2.0"},
            {"method", "textDocument/publishDiagnostics"},
            {"params", QJsonObject{{"uri", uri},
                                   {"version", doc.version},
                                   {"diagnostics", m_language.Diagnostics(doc)}}}});
}
