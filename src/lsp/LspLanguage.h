// LspLanguage: what the language server knows of CL, over one document and
// the reference: diagnostics (the checker), hover, completion, signature
// help, symbols, definitions, inlay hints, code actions and formatting, each
// as the protocol's JSON. The protocol itself (messages, documents, the
// lifecycle) is LspServer's.
#ifndef LSPLANGUAGE_H
#define LSPLANGUAGE_H

#include "CLCmdManager.h"
#include "CLLint.h"
#include "LspDocument.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

#include <map>
#include <memory>

class CLPrompt;

class LspLanguage
{
public:
    // The manager holds the reference's index and outlives this.
    explicit LspLanguage(CLCmdManager* pManager);
    ~LspLanguage();

    QJsonArray Diagnostics(const LspDocument& doc) const;
    QJsonValue Hover(const LspDocument& doc, const QJsonObject& position) const;
    QJsonObject Completion(const LspDocument& doc, const QJsonObject& position) const;
    QJsonValue SignatureHelp(const LspDocument& doc, const QJsonObject& position) const;
    QJsonArray Symbols(const LspDocument& doc) const;
    QJsonValue Definition(const LspDocument& doc, const QString& uri,
                          const QJsonObject& position) const;
    QJsonArray InlayHints(const LspDocument& doc, const QJsonObject& range) const;
    QJsonArray CodeActions(const LspDocument& doc, const QString& uri,
                           const QJsonObject& range) const;
    // The edits that format the whole document, or the statements a range touches.
    QJsonArray Format(const LspDocument& doc, const QJsonObject* pRange) const;

    // A command's record (null when the reference does not hold it) and its
    // prompter view (null when the record lists no parameters).
    const CLCmdRecord* Record(const std::string& name) const;
    const CLPrompt* Prompt(const std::string& name) const;

private:
    CLCmdManager* m_pManager;
    CLLint m_lint;
    mutable std::map<std::string, std::unique_ptr<CLPrompt>> m_prompts;
};

#endif
