// The language server driven by recorded exchanges: what a client sends,
// what the server answers and publishes, message by message.
#include "LspServer.h"
#include "LspTransport.h"
#include "RecordMaker.h"
#include "TestHome.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>

// Readable texts in failure messages.
void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

// A program folder with a small reference, read from the per-command files.
class Session
{
public:
    Session()
        : m_manager(CLOptions{kRunModeEdit}),
          m_server(&m_manager, [this](const QJsonObject& m) { sent.push_back(m); })
    {
        Add("CRTLIB", "Create Library",
            {{"LIB", "Library", "Name", "Required, Positional 1"},
             {"TYPE", "Library type", "*PROD, *TEST", "Optional, Positional 2"},
             {"TEXT", "Text 'description'", "Character value, *BLANK", "Optional"}},
            {{"CPF2111", "Library already exists."}}, "Creates a library.\r\n\r\nMore.");
        Add("DLTLIB", "Delete Library", {{"LIB", "Library", "Name", "Required, Positional 1"}});
        for (const char* name : {"PGM", "ENDPGM", "DCL", "MONMSG", "GOTO", "CHGVAR"})
            Add(name, name, {});
        Request("initialize", {{"processId", QJsonValue::Null}, {"capabilities", QJsonObject()}});
        Notify("initialized", {});
        sent.clear();
    }

    QJsonValue Request(const QString& method, const QJsonObject& params)
    {
        const int id = ++m_id;
        m_server.Handle({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}});
        for (const QJsonObject& m : sent)
            if (m.value("id").toInt() == id)
                return m.contains("error") ? QJsonValue(m.value("error")) : m.value("result");
        return QJsonValue::Undefined;
    }
    void Notify(const QString& method, const QJsonObject& params)
    {
        m_server.Handle({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
    }
    void Open(const QString& text)
    {
        Notify(
            "textDocument/didOpen",
            {{"textDocument",
              QJsonObject{{"uri", kUri}, {"languageId", "cl"}, {"version", 1}, {"text", text}}}});
    }
    QJsonObject At(int line, int character) const
    {
        return {{"textDocument", QJsonObject{{"uri", kUri}}},
                {"position", QJsonObject{{"line", line}, {"character", character}}}};
    }
    // The messages of the last diagnostics published.
    QStringList Diagnostics() const
    {
        QStringList out;
        for (auto it = sent.rbegin(); it != sent.rend(); ++it)
            if (it->value("method").toString() == "textDocument/publishDiagnostics") {
                for (const QJsonValue& d :
                     it->value("params").toObject().value("diagnostics").toArray()) {
                    const QJsonObject start =
                        d.toObject().value("range").toObject().value("start").toObject();
                    out << QStringLiteral("%1:%2 %3")
                               .arg(start.value("line").toInt())
                               .arg(start.value("character").toInt())
                               .arg(d.toObject().value("message").toString());
                }
                break;
            }
        return out;
    }

    static constexpr const char* kUri = "file:///src/PAY.clle";
    std::vector<QJsonObject> sent;
    LspServer& Server() { return m_server; }

private:
    void Add(const std::string& name, const std::string& title,
             const std::vector<ParamSpec>& params, const std::vector<ErrorSpec>& errors = {},
             const std::string& detail = "")
    {
        CLCmdIndex e = MakeIdx(name);
        CLCmdIndex* p = m_manager.AddCmdIdx(&e);
        RecordPtr rec = NewRecord();
        FillRecord(rec.get(), p, name, title, "", params, errors, detail);
        ASSERT_TRUE(m_manager.SaveCmdRecord(rec.get()));
    }

    TestHome m_home;
    CLCmdManager m_manager;
    LspServer m_server;
    int m_id = 0;
};

QString Hover(Session& s, int line, int character)
{
    const QJsonValue r = s.Request("textDocument/hover", s.At(line, character));
    return r.isObject() ? r.toObject().value("contents").toObject().value("value").toString()
                        : QString();
}

QStringList Labels(const QJsonValue& completion)
{
    QStringList out;
    for (const QJsonValue& item : completion.toObject().value("items").toArray())
        out << item.toObject().value("label").toString();
    return out;
}

const char* const kProgram = "PGM PARM(&LIB)\n"
                             "DCL VAR(&LIB) TYPE(*CHAR) LEN(10)\n"
                             "CRTLIB &LIB *TEST\n"
                             "MONMSG MSGID(CPF2111) EXEC(GOTO CMDLBL(END))\n"
                             "END: ENDPGM\n";

} // namespace

TEST(Lsp, DiagnosticsFollowOpenAndEveryChange)
{
    Session s;
    s.Open("CRTLIB LIB(A) TYPE(*OTHER)\n");
    EXPECT_EQ(s.Diagnostics(),
              QStringList({"0:14 CRTLIB TYPE: *OTHER is not one of *PROD, *TEST."}));
    // An incremental change: *OTHER becomes *PROD.
    s.Notify("textDocument/didChange",
             {{"textDocument", QJsonObject{{"uri", Session::kUri}, {"version", 2}}},
              {"contentChanges",
               QJsonArray{QJsonObject{
                   {"range", QJsonObject{{"start", QJsonObject{{"line", 0}, {"character", 19}}},
                                         {"end", QJsonObject{{"line", 0}, {"character", 25}}}}},
                   {"text", "*PROD"}}}}});
    EXPECT_EQ(s.Diagnostics(), QStringList());
    // A full change, with text outside ASCII before the finding: UTF-16 columns.
    s.Notify("textDocument/didChange",
             {{"textDocument", QJsonObject{{"uri", Session::kUri}, {"version", 3}}},
              {"contentChanges",
               QJsonArray{QJsonObject{
                   {"text", QString::fromUtf8("/* \xc3\xa9\xf0\x9f\x98\x80 */ ENDDO\n")}}}}});
    EXPECT_EQ(s.Diagnostics(), QStringList({"0:10 ENDDO has no DO group to end."}));
    s.Notify("textDocument/didClose", {{"textDocument", QJsonObject{{"uri", Session::kUri}}}});
    EXPECT_EQ(s.Diagnostics(), QStringList());
}

TEST(Lsp, HoverExplainsCommandsParametersMessagesAndVariables)
{
    Session s;
    s.Open(kProgram);
    EXPECT_EQ(Hover(s, 2, 2), "**CRTLIB** - Create Library\n\nCreates a library.");
    EXPECT_EQ(Hover(s, 2, 13),
              "**TYPE** (Library type)\n\nChoices: *PROD, *TEST\n\nNotes: Optional, Positional 2");
    EXPECT_EQ(Hover(s, 2, 9), "```\nDCL VAR(&LIB) TYPE(*CHAR) LEN(10)\n```");
    EXPECT_EQ(Hover(s, 3, 16), "**CPF2111**: Library already exists. (CRTLIB)");
    EXPECT_EQ(Hover(s, 4, 1), QString()); // a label: nothing to say
}

TEST(Lsp, CompletionOffersWhatFitsWhereTheCursorIs)
{
    Session s;
    s.Open("CR\nCRTLIB LIB(A) \nCRTLIB TYPE(*\nDLTLIB X\nMONMSG MSGID(C\n");
    EXPECT_EQ(Labels(s.Request("textDocument/completion", s.At(0, 2))), QStringList({"CRTLIB"}));
    // Keywords not given yet, the required ones first.
    const QJsonValue keywords = s.Request("textDocument/completion", s.At(1, 14));
    EXPECT_EQ(Labels(keywords), QStringList({"TYPE", "TEXT"}));
    EXPECT_EQ(
        keywords.toObject().value("items").toArray()[0].toObject().value("insertText").toString(),
        "TYPE(");
    EXPECT_EQ(Labels(s.Request("textDocument/completion", s.At(2, 13))),
              QStringList({"*PROD", "*TEST"}));
    // The message ids the monitored command lists.
    s.Open("CRTLIB A\nMONMSG MSGID(C\n");
    EXPECT_EQ(Labels(s.Request("textDocument/completion", s.At(1, 14))), QStringList({"CPF2111"}));
}

TEST(Lsp, SignatureHelpMarksTheActiveParameter)
{
    Session s;
    s.Open("CRTLIB A TEXT('x') TYPE(\n");
    const QJsonObject help = s.Request("textDocument/signatureHelp", s.At(0, 24)).toObject();
    const QJsonObject sig = help.value("signatures").toArray()[0].toObject();
    EXPECT_EQ(sig.value("label").toString(), "CRTLIB LIB TYPE TEXT");
    EXPECT_EQ(help.value("activeParameter").toInt(), 1);
    EXPECT_EQ(sig.value("parameters").toArray()[1].toObject().value("label").toArray(),
              QJsonArray({11, 15}));
}

TEST(Lsp, SymbolsDefinitionsAndInlayHints)
{
    Session s;
    s.Open(kProgram);
    QStringList symbols;
    for (const QJsonValue& v : s.Request("textDocument/documentSymbol", s.At(0, 0)).toArray())
        symbols << v.toObject().value("name").toString();
    EXPECT_EQ(symbols, QStringList({"END", "&LIB"}));
    const QJsonObject def = s.Request("textDocument/definition", s.At(2, 9)).toObject();
    EXPECT_EQ(def.value("range").toObject().value("start").toObject(),
              (QJsonObject{{"line", 1}, {"character", 8}}));
    const QJsonObject label = s.Request("textDocument/definition", s.At(3, 40)).toObject();
    EXPECT_EQ(label.value("range").toObject().value("start").toObject().value("line").toInt(), 4);
    QJsonObject params = s.At(0, 0);
    params["range"] = QJsonObject{{"start", QJsonObject{{"line", 0}, {"character", 0}}},
                                  {"end", QJsonObject{{"line", 5}, {"character", 0}}}};
    QStringList hints;
    for (const QJsonValue& v : s.Request("textDocument/inlayHint", params).toArray())
        hints << v.toObject().value("label").toString() + "@" +
                     QString::number(
                         v.toObject().value("position").toObject().value("character").toInt());
    EXPECT_EQ(hints, QStringList({"LIB:@7", "TYPE:@12"}));
}

TEST(Lsp, CodeActionsAndFormattingEditTheSource)
{
    Session s;
    s.Open("  crtlib payroll *test /* keep */\nDLTLIB\n");
    QJsonObject params = s.At(0, 0);
    params["range"] = QJsonObject{{"start", QJsonObject{{"line", 0}, {"character", 0}}},
                                  {"end", QJsonObject{{"line", 1}, {"character", 0}}}};
    QStringList titles, texts;
    for (const QJsonValue& v : s.Request("textDocument/codeAction", params).toArray()) {
        titles << v.toObject().value("title").toString();
        texts << v.toObject()
                     .value("edit")
                     .toObject()
                     .value("changes")
                     .toObject()
                     .value(Session::kUri)
                     .toArray()[0]
                     .toObject()
                     .value("newText")
                     .toString();
    }
    EXPECT_EQ(titles, QStringList({"Write CRTLIB with its keywords",
                                   "Add the required parameters of DLTLIB"}));
    EXPECT_EQ(texts, QStringList({"             CRTLIB     LIB(PAYROLL) TYPE(*TEST) /* keep */",
                                  "             DLTLIB     LIB()"}));
    const QJsonArray edits = s.Request("textDocument/formatting", s.At(0, 0)).toArray();
    ASSERT_EQ(edits.size(), 1);
    EXPECT_EQ(edits[0].toObject().value("newText").toString(),
              "             CRTLIB     PAYROLL *TEST /* keep */\n             DLTLIB\n");
}

TEST(Lsp, TheProtocolSurvivesWhatIsWrong)
{
    Session s;
    // Unknown methods, bad requests and documents never opened.
    EXPECT_EQ(s.Request("textDocument/foldingRange", {}).toObject().value("code").toInt(),
              LspServer::kMethodNotFound);
    EXPECT_TRUE(s.Request("textDocument/hover", s.At(0, 0)).isNull());
    s.sent.clear();
    s.Server().Handle({{"jsonrpc", "2.0"}, {"id", QJsonArray()}, {"method", "shutdown"}});
    s.Server().ParseError("unterminated object");
    ASSERT_EQ(s.sent.size(), 2u);
    EXPECT_EQ(s.sent[0].value("error").toObject().value("code").toInt(),
              LspServer::kInvalidRequest);
    EXPECT_EQ(s.sent[1].value("error").toObject().value("code").toInt(), LspServer::kParseError);
    EXPECT_TRUE(s.sent[1].value("id").isNull());
    // shutdown, then exit: status 0.
    EXPECT_TRUE(s.Request("shutdown", {}).isNull());
    EXPECT_FALSE(s.Server().Done());
    s.Notify("exit", {});
    EXPECT_TRUE(s.Server().Done());
    EXPECT_EQ(s.Server().ExitStatus(), 0);
}

TEST(Lsp, TheTransportFramesMessagesAndSkipsBrokenFrames)
{
    std::FILE* in = std::tmpfile();
    const std::string body = R"({"jsonrpc":"2.0","method":"exit"})";
    const std::string input =
        "Content-Type: x\r\n\r\n"          // no length: skipped
        "Content-Length: 5\r\n\r\n{oops" + // not JSON
        std::string("Content-Length: ") +
        std::to_string(body.size()) +
        "\r\nContent-Type: application/vscode-jsonrpc; charset=utf-8\r\n\r\n" + body;
    std::fwrite(input.data(), 1, input.size(), in);
    std::rewind(in);
    std::FILE* out = std::tmpfile();
    LspTransport t(in, out);
    QJsonObject msg;
    QString why;
    EXPECT_EQ(t.Read(&msg, &why), LspTransport::Invalid);
    EXPECT_EQ(t.Read(&msg, &why), LspTransport::Message);
    EXPECT_EQ(msg.value("method").toString(), "exit");
    EXPECT_EQ(t.Read(&msg, &why), LspTransport::End);
    t.Write({{"jsonrpc", "2.0"}, {"id", 1}, {"result", QJsonValue::Null}});
    std::rewind(out);
    char buf[256] = {};
    const size_t n = std::fread(buf, 1, sizeof buf - 1, out);
    EXPECT_EQ(std::string(buf, n),
              "Content-Length: 38\r\n\r\n{\"id\":1,\"jsonrpc\":\"2.0\",\"result\":null}");
    std::fclose(in);
    std::fclose(out);
}
