#include "LspLanguage.h"

#include "CLPrompt.h"
#include "CLRecordUtil.h"
#include "CLReferenceLookup.h"
#include "CLSourceFormat.h"
#include "LspSpans.h"

#include <QJsonDocument>

#include <algorithm>

namespace {

// Record texts are Latin-1.
QString L1(const std::string& s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QString L1(const char* s)
{
    return QString::fromLatin1(s ? s : "");
}

bool IsMessageId(const std::string& w)
{
    if (w.size() != 7)
        return false;
    for (size_t i = 0; i < 3; ++i)
        if (w[i] < 'A' || w[i] > 'Z')
            return false;
    for (size_t i = 3; i < 7; ++i)
        if (!((w[i] >= '0' && w[i] <= '9') || (w[i] >= 'A' && w[i] <= 'F')))
            return false;
    return true;
}

// The first paragraph of a record's detail.
QString Overview(const CLCmdRecord& rec)
{
    std::string detail = rec.pszDetail ? rec.pszDetail : "";
    const size_t blank = detail.find("\r\n\r\n");
    if (blank != std::string::npos)
        detail.resize(blank);
    return L1(detail).replace(QLatin1String("\r\n"), QLatin1String(" "));
}

QString ParamText(const CLPromptParam& p)
{
    QString s = QStringLiteral("**%1** (%2)").arg(L1(p.keyword), L1(p.desc));
    if (!p.choices.empty())
        s += QStringLiteral("\n\nChoices: %1").arg(L1(p.choices));
    if (!p.note.empty())
        s += QStringLiteral("\n\nNotes: %1").arg(L1(p.note));
    return s;
}

QJsonObject Markdown(const QString& text)
{
    return {{"kind", "markdown"}, {"value", text}};
}

// The prompter parameter a span stands for: by keyword, or by its position.
const CLPromptParam* ParamOf(const CLPrompt& prompt, const LspParamSpan& span)
{
    if (!span.keyword.empty())
        return prompt.Find(span.keyword);
    for (const CLPromptParam& p : prompt.Params())
        if (p.nPositional == span.position)
            return &p;
    return nullptr;
}

// What a statement's text holds at a position.
struct Spot
{
    int statement = -1;
    size_t offset = std::string::npos;
    LspCommandSpan span;
    const LspParamSpan* pParam = nullptr; // the parameter at the offset, if any
    bool bName = false;                   // on the command name
};

Spot SpotAt(const LspDocument& doc, const CLSrcPos& pos)
{
    Spot s;
    s.statement = StatementAt(doc.Source(), pos);
    if (s.statement < 0)
        return s;
    const CLSrcStatement& st = doc.Source().statements[static_cast<size_t>(s.statement)];
    s.offset = OffsetOf(st, pos);
    if (s.offset == std::string::npos)
        return s;
    s.span = ScanCommand(st.text);
    s.bName = s.offset <= s.span.nameEnd;
    if (!s.bName)
        s.pParam = s.span.At(s.offset);
    return s;
}

std::string LineOf(const LspDocument& doc, int line)
{
    const auto& lines = doc.Source().lines;
    return line >= 0 && line < static_cast<int>(lines.size()) ? lines[static_cast<size_t>(line)]
                                                              : std::string();
}

// The statement's lines replaced by a command text laid out, labels kept;
// null when the statement's lines hold anything else.
QJsonObject Rewrite(const LspDocument& doc, size_t statement, const std::string& text)
{
    const CLSrcStatement& s = doc.Source().statements[statement];
    if (CLSourceFormat::StatementLines(doc.Source(), statement, {}).empty())
        return {};
    std::string member;
    for (const CLSrcLabel& l : s.labels)
        member += l.name + ": ";
    const CLSource one = CLSource::Read(member + text);
    if (one.statements.size() != 1)
        return {};
    std::vector<std::string> lines = CLSourceFormat::StatementLines(one, 0, {});
    if (lines.empty())
        return {};
    // A comment after the statement stays after it.
    for (const CLSrcComment& c : doc.Source().comments)
        if (c.begin.line == s.lastLine && !(c.begin < s.end))
            lines.back() += " " + doc.Source().lines[static_cast<size_t>(c.begin.line)].substr(
                                      static_cast<size_t>(c.begin.col),
                                      static_cast<size_t>(c.end.col - c.begin.col));
    QString newText;
    for (size_t i = 0; i < lines.size(); ++i)
        newText += (i ? doc.LineEnd() : QString()) + QString::fromUtf8(lines[i]);
    return {{"range", doc.LinesRange(s.begin.line, s.lastLine)}, {"newText", newText}};
}

QJsonObject Action(const QString& title, const char* kind, const QString& uri,
                   const QJsonObject& edit)
{
    return {{"title", title},
            {"kind", kind},
            {"edit", QJsonObject{{"changes", QJsonObject{{uri, QJsonArray{edit}}}}}}};
}

} // namespace

LspLanguage::LspLanguage(CLCmdManager* pManager)
    : m_pManager(pManager), m_lint(CLReferenceLookup(pManager))
{
}

LspLanguage::~LspLanguage() = default;

const CLCmdRecord* LspLanguage::Record(const std::string& name) const
{
    CLCmdIndex* pIdx = m_pManager->FindCmdIdx(name.c_str());
    return pIdx ? m_pManager->AttachCmdRecord(pIdx) : nullptr;
}

const CLPrompt* LspLanguage::Prompt(const std::string& name) const
{
    auto it = m_prompts.find(name);
    if (it != m_prompts.end())
        return it->second.get();
    const CLCmdRecord* pRec = Record(name);
    std::unique_ptr<CLPrompt> p;
    if (pRec && pRec->dwParamCount > 0)
        p = std::make_unique<CLPrompt>(*pRec);
    return m_prompts.emplace(name, std::move(p)).first->second.get();
}

QJsonArray LspLanguage::Diagnostics(const LspDocument& doc) const
{
    QJsonArray out;
    for (const CLDiagnostic& d : m_lint.Check(doc.Source(), doc.Program()))
        out.append(QJsonObject{{"range", doc.Range(d.begin, d.end)},
                               {"severity", d.severity == CLDiagnostic::Error     ? 1
                                            : d.severity == CLDiagnostic::Warning ? 2
                                                                                  : 3},
                               {"code", QString::fromStdString(d.code)},
                               {"source", "zentrivo"},
                               {"message", L1(d.message)}});
    return out;
}

QJsonValue LspLanguage::Hover(const LspDocument& doc, const QJsonObject& position) const
{
    const CLSrcPos pos = doc.FromPosition(position);
    int wordBegin = 0;
    const std::string word = WordAt(LineOf(doc, pos.line), pos.col, &wordBegin);
    if (word.empty())
        return QJsonValue::Null;
    const QJsonObject range =
        doc.Range({pos.line, wordBegin}, {pos.line, wordBegin + static_cast<int>(word.size())});
    // A variable: its declaration.
    if (word[0] == '&') {
        const CLSrcSymbol* d = doc.Program().FindDeclared(word);
        if (!d)
            return QJsonValue::Null;
        const CLSrcStatement& s = doc.Source().statements[d->statement];
        return QJsonObject{
            {"contents", Markdown(QStringLiteral("```\n%1\n```").arg(QString::fromUtf8(s.text)))},
            {"range", range}};
    }
    const Spot spot = SpotAt(doc, pos);
    if (spot.statement < 0)
        return QJsonValue::Null;
    const std::string& name = spot.span.name;
    // A message id that a MONMSG monitors: its text where a record lists it.
    if (name == "MONMSG" && IsMessageId(word)) {
        std::vector<const CLCmdRecord*> records;
        for (int i = spot.statement - 1; i >= 0; --i) {
            const CLSrcStatement& prev = doc.Source().statements[static_cast<size_t>(i)];
            if (prev.CommandName() != "MONMSG") {
                if (const CLCmdRecord* r = Record(prev.CommandName()))
                    records.push_back(r);
                break;
            }
        }
        for (CLCmdIndex* p = m_pManager->GetFirstCmdIdx(); p; p = m_pManager->GetNextCmdIdx())
            records.push_back(m_pManager->AttachCmdRecord(p));
        for (const CLCmdRecord* r : records)
            for (uint32_t e = 0; e < r->dwErrorCount; ++e)
                if (FieldText(r->pErrors[e].szCode) == word)
                    return QJsonObject{{"contents", Markdown(QStringLiteral("**%1**: %2 (%3)")
                                                                 .arg(L1(word))
                                                                 .arg(L1(r->pErrors[e].szText))
                                                                 .arg(L1(r->szName)))},
                                       {"range", range}};
        return QJsonValue::Null;
    }
    const CLCmdRecord* pRec = Record(name);
    if (!pRec)
        return QJsonValue::Null;
    if (spot.bName)
        return QJsonObject{
            {"contents", Markdown(QStringLiteral("**%1** - %2\n\n%3")
                                      .arg(L1(name), L1(pRec->szDesc), Overview(*pRec)))},
            {"range", range}};
    const CLPrompt* pPrompt = Prompt(name);
    if (!pPrompt || !spot.pParam)
        return QJsonValue::Null;
    const CLPromptParam* p = ParamOf(*pPrompt, *spot.pParam);
    if (!p)
        return QJsonValue::Null;
    return QJsonObject{{"contents", Markdown(ParamText(*p))}, {"range", range}};
}

QJsonObject LspLanguage::Completion(const LspDocument& doc, const QJsonObject& position) const
{
    const CLSrcPos pos = doc.FromPosition(position);
    int wordBegin = 0;
    const std::string prefix = WordAt(LineOf(doc, pos.line), pos.col, &wordBegin)
                                   .substr(0, static_cast<size_t>(pos.col - wordBegin));
    QJsonArray items;
    bool bIncomplete = false;
    auto add = [&](const QString& label, const QString& detail, int kind, const QString& sort,
                   const QString& insert) {
        if (items.size() >= 200) {
            bIncomplete = true;
            return;
        }
        QJsonObject item{{"label", label}, {"kind", kind}, {"detail", detail}, {"sortText", sort}};
        if (!insert.isEmpty())
            item["insertText"] = insert;
        items.append(item);
    };
    const Spot spot = SpotAt(doc, pos);
    if (spot.statement < 0 || spot.bName || spot.offset == std::string::npos) {
        // A statement's start: command names with their titles.
        for (CLCmdIndex* p = m_pManager->GetFirstCmdIdx(); p; p = m_pManager->GetNextCmdIdx()) {
            const std::string n = FieldText(p->szName);
            if (n.compare(0, prefix.size(), prefix) != 0)
                continue;
            const CLCmdRecord* r = m_pManager->AttachCmdRecord(p);
            add(L1(n), L1(r->szDesc), 3, L1(n), {});
        }
        return {{"isIncomplete", bIncomplete}, {"items", items}};
    }
    const std::string& name = spot.span.name;
    const bool bInValue = spot.pParam && spot.offset >= spot.pParam->valueBegin &&
                          spot.offset <= spot.pParam->valueEnd;
    if (bInValue && name == "MONMSG" &&
        (spot.pParam->keyword == "MSGID" || spot.pParam->position == 1)) {
        // The message ids the monitored command lists.
        for (int i = spot.statement - 1; i >= 0; --i) {
            const CLSrcStatement& prev = doc.Source().statements[static_cast<size_t>(i)];
            if (prev.CommandName() == "MONMSG")
                continue;
            if (const CLCmdRecord* r = Record(prev.CommandName()))
                for (uint32_t e = 0; e < r->dwErrorCount; ++e) {
                    const std::string id = FieldText(r->pErrors[e].szCode);
                    if (id.compare(0, prefix.size(), prefix) == 0)
                        add(L1(id), L1(r->pErrors[e].szText), 12, L1(id), {});
                }
            break;
        }
        return {{"isIncomplete", bIncomplete}, {"items", items}};
    }
    const CLPrompt* pPrompt = Prompt(name);
    if (!pPrompt)
        return {{"isIncomplete", false}, {"items", items}};
    if (bInValue) {
        // The special values of the parameter.
        if (const CLPromptParam* p = ParamOf(*pPrompt, *spot.pParam))
            for (size_t i = 0; i < p->specials.size(); ++i)
                if (p->specials[i].compare(0, prefix.size(), prefix) == 0)
                    add(L1(p->specials[i]), L1(p->desc), 21,
                        QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')), {});
        return {{"isIncomplete", bIncomplete}, {"items", items}};
    }
    // Between parameters: the keywords not given yet, the required ones first.
    std::vector<std::string> given;
    for (const LspParamSpan& s : spot.span.params)
        if (const CLPromptParam* p = ParamOf(*pPrompt, s))
            given.push_back(p->keyword);
    for (const CLPromptParam& p : pPrompt->Params()) {
        if (std::find(given.begin(), given.end(), p.keyword) != given.end() ||
            p.keyword.compare(0, prefix.size(), prefix) != 0)
            continue;
        add(L1(p.keyword), L1(p.desc), 5,
            (p.bRequired ? QStringLiteral("0") : QStringLiteral("1")) + L1(p.keyword),
            L1(p.keyword) + "(");
    }
    return {{"isIncomplete", bIncomplete}, {"items", items}};
}

QJsonValue LspLanguage::SignatureHelp(const LspDocument& doc, const QJsonObject& position) const
{
    const Spot spot = SpotAt(doc, doc.FromPosition(position));
    if (spot.statement < 0 || spot.bName)
        return QJsonValue::Null;
    const CLPrompt* pPrompt = Prompt(spot.span.name);
    if (!pPrompt)
        return QJsonValue::Null;
    // The parameters in positional order, then the others.
    std::vector<const CLPromptParam*> order;
    for (const CLPromptParam& p : pPrompt->Params())
        if (p.nPositional > 0)
            order.push_back(&p);
    std::stable_sort(order.begin(), order.end(),
                     [](const CLPromptParam* a, const CLPromptParam* b) {
                         return a->nPositional < b->nPositional;
                     });
    for (const CLPromptParam& p : pPrompt->Params())
        if (p.nPositional == 0)
            order.push_back(&p);
    QString label = L1(spot.span.name);
    QJsonArray params;
    int active = -1;
    const CLPromptParam* pActive = spot.pParam ? ParamOf(*pPrompt, *spot.pParam) : nullptr;
    for (size_t i = 0; i < order.size(); ++i) {
        const int begin = static_cast<int>(label.size()) + 1;
        label += QStringLiteral(" %1").arg(L1(order[i]->keyword));
        params.append(QJsonObject{{"label", QJsonArray{begin, static_cast<int>(label.size())}},
                                  {"documentation", Markdown(ParamText(*order[i]))}});
        if (order[i] == pActive)
            active = static_cast<int>(i);
    }
    QJsonObject sig{{"label", label}, {"parameters", params}};
    if (const CLCmdRecord* r = Record(spot.span.name))
        sig["documentation"] = L1(r->szDesc);
    QJsonObject help{{"signatures", QJsonArray{sig}}, {"activeSignature", 0}};
    if (active >= 0)
        help["activeParameter"] = active;
    return help;
}

QJsonArray LspLanguage::Symbols(const LspDocument& doc) const
{
    QJsonArray out;
    auto add = [&](const CLSrcSymbol& s, int kind, const QString& detail) {
        const CLSrcStatement& st = doc.Source().statements[s.statement];
        out.append(QJsonObject{{"name", QString::fromUtf8(s.name)},
                               {"detail", detail},
                               {"kind", kind},
                               {"range", doc.Range(st.begin, st.end)},
                               {"selectionRange", doc.Range(s.begin, s.end)}});
    };
    for (const CLSrcSymbol& s : doc.Program().subroutines)
        add(s, 12, QStringLiteral("subroutine"));
    for (const CLSrcSymbol& s : doc.Program().labels)
        add(s, 20, QStringLiteral("label"));
    for (const CLSrcSymbol& s : doc.Program().declared)
        add(s, 13, QString::fromUtf8(doc.Source().statements[s.statement].text));
    return out;
}

QJsonValue LspLanguage::Definition(const LspDocument& doc, const QString& uri,
                                   const QJsonObject& position) const
{
    const CLSrcPos pos = doc.FromPosition(position);
    const std::string word = WordAt(LineOf(doc, pos.line), pos.col);
    if (word.empty())
        return QJsonValue::Null;
    const CLProgram& prog = doc.Program();
    const CLSrcSymbol* s = word[0] == '&' ? prog.FindDeclared(word) : prog.FindLabel(word);
    if (!s && word[0] != '&')
        s = prog.FindSubroutine(word);
    if (!s)
        return QJsonValue::Null;
    return QJsonObject{{"uri", uri}, {"range", doc.Range(s->begin, s->end)}};
}

QJsonArray LspLanguage::InlayHints(const LspDocument& doc, const QJsonObject& range) const
{
    const CLSrcPos from = doc.FromPosition(range.value(QLatin1String("start")).toObject());
    const CLSrcPos to = doc.FromPosition(range.value(QLatin1String("end")).toObject());
    QJsonArray out;
    for (const CLSrcStatement& s : doc.Source().statements) {
        if (s.text.empty() || s.lastLine < from.line || s.begin.line > to.line)
            continue;
        const LspCommandSpan span = ScanCommand(s.text);
        const CLPrompt* pPrompt = nullptr;
        for (const LspParamSpan& p : span.params) {
            if (p.position == 0)
                continue;
            if (!pPrompt && !(pPrompt = Prompt(span.name)))
                break;
            if (const CLPromptParam* pp = ParamOf(*pPrompt, p))
                out.append(QJsonObject{{"position", doc.Position(s.Pos(p.begin))},
                                       {"label", L1(pp->keyword) + ":"},
                                       {"kind", 2},
                                       {"paddingRight", true}});
        }
    }
    return out;
}

QJsonArray LspLanguage::CodeActions(const LspDocument& doc, const QString& uri,
                                    const QJsonObject& range) const
{
    const CLSrcPos from = doc.FromPosition(range.value(QLatin1String("start")).toObject());
    const CLSrcPos to = doc.FromPosition(range.value(QLatin1String("end")).toObject());
    QJsonArray out;
    const auto& statements = doc.Source().statements;
    for (size_t i = 0; i < statements.size(); ++i) {
        const CLSrcStatement& s = statements[i];
        if (s.text.empty() || s.lastLine < from.line || s.begin.line > to.line)
            continue;
        const LspCommandSpan span = ScanCommand(s.text);
        const CLPrompt* pPrompt = Prompt(span.name);
        if (!pPrompt)
            continue;
        // Every value with its keyword.
        std::string keyworded = s.text.substr(0, span.nameEnd);
        bool bPositional = false, bKnown = true;
        std::vector<std::string> given;
        for (const LspParamSpan& p : span.params) {
            const CLPromptParam* pp = ParamOf(*pPrompt, p);
            bKnown = bKnown && pp;
            if (pp)
                given.push_back(pp->keyword);
            const std::string value = s.text.substr(p.valueBegin, p.valueEnd - p.valueBegin);
            if (p.position > 0 && pp) {
                bPositional = true;
                keyworded += " " + pp->keyword + "(" + value + ")";
            } else {
                keyworded += " " + s.text.substr(p.begin, p.end - p.begin);
            }
        }
        if (bPositional && bKnown) {
            const QJsonObject edit = Rewrite(doc, i, keyworded);
            if (!edit.isEmpty())
                out.append(Action(QStringLiteral("Write %1 with its keywords").arg(L1(span.name)),
                                  "refactor.rewrite", uri, edit));
        }
        // The required parameters not given yet.
        std::string completed = s.text;
        for (const CLPromptParam& p : pPrompt->Params())
            if (p.bRequired && std::find(given.begin(), given.end(), p.keyword) == given.end())
                completed += " " + p.keyword + "()";
        if (completed != s.text) {
            const QJsonObject edit = Rewrite(doc, i, completed);
            if (!edit.isEmpty())
                out.append(
                    Action(QStringLiteral("Add the required parameters of %1").arg(L1(span.name)),
                           "quickfix", uri, edit));
        }
    }
    return out;
}

QJsonArray LspLanguage::Format(const LspDocument& doc, const QJsonObject* pRange) const
{
    QJsonArray edits;
    if (!pRange) {
        std::string out, why;
        if (CLSourceFormat::Format(doc.Text(), {}, &out, &why) && out != doc.Text()) {
            const int last = static_cast<int>(doc.Source().lines.size()) - 1;
            edits.append(QJsonObject{{"range", doc.LinesRange(0, last)},
                                     {"newText", QString::fromUtf8(out)}});
        }
        return edits;
    }
    const CLSrcPos from = doc.FromPosition(pRange->value(QLatin1String("start")).toObject());
    const CLSrcPos to = doc.FromPosition(pRange->value(QLatin1String("end")).toObject());
    const CLSource& src = doc.Source();
    if (!src.problems.empty())
        return edits; // a member that does not read is left as it is
    for (size_t i = 0; i < src.statements.size(); ++i) {
        const CLSrcStatement& s = src.statements[i];
        if (s.lastLine < from.line || s.begin.line > to.line)
            continue;
        const std::vector<std::string> lines = CLSourceFormat::StatementLines(src, i, {});
        if (lines.empty())
            continue;
        QString text;
        for (size_t k = 0; k < lines.size(); ++k)
            text += (k ? doc.LineEnd() : QString()) + QString::fromUtf8(lines[k]);
        std::string old;
        for (int l = s.begin.line; l <= s.lastLine; ++l)
            old += (l > s.begin.line ? doc.LineEnd().toStdString() : std::string()) +
                   src.lines[static_cast<size_t>(l)];
        if (text.toUtf8().toStdString() != old)
            edits.append(QJsonObject{{"range", doc.LinesRange(s.begin.line, s.lastLine)},
                                     {"newText", text}});
    }
    return edits;
}
