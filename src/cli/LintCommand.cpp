// lint: CL source members checked against the reference, reported in the
// form compilers use, as JSON or as SARIF 2.1.0.
#include "CliCommands.h"

#include "CLLint.h"
#include "CLReferenceLookup.h"
#include "CliContext.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QUrl>

#include <map>

namespace {

struct FileResult
{
    std::string file;
    std::vector<CLDiagnostic> diagnostics;
};

// Source text as Unicode: UTF-8 when it is valid UTF-8, else Latin-1.
QString Text(const std::string& bytes)
{
    QString s = QString::fromUtf8(bytes);
    return s.toUtf8().toStdString() == bytes ? s : QString::fromLatin1(bytes);
}

// A file's URI reference: file:///... for an absolute path, else the relative
// path, percent-encoded.
QString Uri(const std::string& file)
{
    const QString path = Text(file);
    if (QDir::isAbsolutePath(path))
        return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    return QString::fromLatin1(QUrl::toPercentEncoding(QDir::fromNativeSeparators(path), "/"));
}

std::string Gcc(const std::vector<FileResult>& results)
{
    std::string out;
    for (const FileResult& r : results)
        for (const CLDiagnostic& d : r.diagnostics)
            out += r.file + ":" + std::to_string(d.begin.line + 1) + ":" +
                   std::to_string(d.begin.col + 1) + ": " + CLDiagnostic::SeverityName(d.severity) +
                   ": " + d.message + " [" + d.code + "]\n";
    return out;
}

QJsonObject Range(const CLDiagnostic& d)
{
    return {{"line", d.begin.line + 1},
            {"column", d.begin.col + 1},
            {"endLine", d.end.line + 1},
            {"endColumn", d.end.col + 1}};
}

std::string Json(const std::vector<FileResult>& results, const int* counts)
{
    QJsonArray files;
    for (const FileResult& r : results) {
        QJsonArray diags;
        for (const CLDiagnostic& d : r.diagnostics) {
            QJsonObject o = Range(d);
            o["severity"] = CLDiagnostic::SeverityName(d.severity);
            o["code"] = QString::fromStdString(d.code);
            o["message"] = Text(d.message);
            diags.append(o);
        }
        files.append(QJsonObject{{"file", Text(r.file)}, {"diagnostics", diags}});
    }
    QJsonObject root{{"version", 1},
                     {"files", files},
                     {"summary", QJsonObject{{"errors", counts[CLDiagnostic::Error]},
                                             {"warnings", counts[CLDiagnostic::Warning]},
                                             {"notes", counts[CLDiagnostic::Note]}}}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

std::string Sarif(const std::vector<FileResult>& results)
{
    QJsonArray rules, found;
    std::map<std::string, int> ruleIndex;
    for (const FileResult& r : results)
        for (const CLDiagnostic& d : r.diagnostics) {
            auto [it, bNew] = ruleIndex.emplace(d.code, static_cast<int>(ruleIndex.size()));
            if (bNew)
                rules.append(QJsonObject{{"id", QString::fromStdString(d.code)}});
            QJsonObject region{{"startLine", d.begin.line + 1},
                               {"startColumn", d.begin.col + 1},
                               {"endLine", d.end.line + 1},
                               {"endColumn", d.end.col + 1}};
            QJsonObject location{
                {"physicalLocation",
                 QJsonObject{{"artifactLocation", QJsonObject{{"uri", Uri(r.file)}}},
                             {"region", region}}}};
            found.append(QJsonObject{{"ruleId", QString::fromStdString(d.code)},
                                     {"ruleIndex", it->second},
                                     {"level", CLDiagnostic::SeverityName(d.severity)},
                                     {"message", QJsonObject{{"text", Text(d.message)}}},
                                     {"locations", QJsonArray{location}}});
        }
    QJsonObject driver{{"name", "zentrivo-cli"}, {"version", ZENTRIVO_VERSION}, {"rules", rules}};
    QJsonObject run{{"tool", QJsonObject{{"driver", driver}}},
                    {"columnKind", "unicodeCodePoints"},
                    {"results", found}};
    QJsonObject root{{"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
                     {"version", "2.1.0"},
                     {"runs", QJsonArray{run}}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

std::string Count(int n, const char* what)
{
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

} // namespace

int RunLint(CliContext& ctx, const CliArgs& args)
{
    const std::string format = args.IsSet("format") ? args.Value("format") : "gcc";
    if (format != "gcc" && format != "json" && format != "sarif") {
        ctx.Error("lint: --format is gcc, json or sarif, not \"" + format + "\".");
        return kExitUsage;
    }
    if (!ctx.LoadIndex())
        return kExitUsage;
    const CLLint lint(CLReferenceLookup(&ctx.Manager()));
    std::vector<FileResult> results;
    int counts[3] = {0, 0, 0};
    bool bUnreadable = false;
    for (const std::string& file : args.Positional()) {
        std::string text;
        if (!CliContext::ReadFile(file, &text)) {
            ctx.Error("lint: \"" + file + "\" cannot be read.");
            bUnreadable = true;
            continue;
        }
        FileResult r{file, lint.Check(CLSource::Read(text))};
        for (const CLDiagnostic& d : r.diagnostics)
            ++counts[d.severity];
        results.push_back(std::move(r));
    }
    // JSON is UTF-8 whatever the terminal; the compiler form quotes the
    // member's own text beside the reference's.
    if (format == "gcc")
        ctx.OutMixed(Gcc(results));
    else
        ctx.OutAsIs(format == "json" ? Json(results, counts) : Sarif(results));
    ctx.ErrorLine("lint: " + Count(static_cast<int>(results.size()), "file") + ": " +
                  Count(counts[CLDiagnostic::Error], "error") + ", " +
                  Count(counts[CLDiagnostic::Warning], "warning") + ", " +
                  Count(counts[CLDiagnostic::Note], "note") + ".");
    if (bUnreadable)
        return kExitUsage;
    return counts[CLDiagnostic::Error] > 0 ? kExitFailed : kExitOk;
}
