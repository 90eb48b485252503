#include "RecordYaml.h"

#include "CLCmdManager.h"
#include "CLFormat.h"
#include "YamlDocument.h"
#include "YamlFieldReader.h"
#include "YamlTextWriter.h"

namespace {

void AddText(std::string& out, const char* key, const std::string& text, int indent)
{
    if (!text.empty())
        out += YamlTextWriter::Field(key, text, indent);
}

// The fields of one list item: the first after "  - ", the others below it.
// bPartial adds "partial: true" after the fields.
template <size_t N>
void AddItem(std::string& out, const std::pair<const char*, const std::string*> (&fields)[N],
             bool bPartial = false)
{
    std::string body;
    for (const auto& [key, text] : fields) {
        if (text->empty())
            continue;
        body += (body.empty() ? "  - " : "    ") + YamlTextWriter::Field(key, *text, 4);
    }
    if (bPartial)
        body += body.empty() ? "  - partial: true\n" : "    partial: true\n";
    out += body.empty() ? "  - {}\n" : body;
}

} // namespace

std::string RecordYaml::Write(const RecordDoc& doc)
{
    std::string out = YamlTextWriter::Field("name", doc.name, 0);
    AddText(out, "description", doc.description, 0);
    AddText(out, "environment", doc.environment, 0);
    if (doc.reservedByte != 0)
        out += "reserved_byte: " + std::to_string(doc.reservedByte) + "\n";
    if (doc.partial)
        out += "partial: true\n";
    AddText(out, "detail", doc.detail, 0);
    AddText(out, "reserved_text", doc.reservedText, 0);
    if (!doc.parameters.empty()) {
        out += "parameters:\n";
        for (const RecordDocParam& p : doc.parameters)
            AddItem(out,
                    {std::pair{"keyword", &p.keyword}, std::pair{"description", &p.description},
                     std::pair{"choices", &p.choices}, std::pair{"note", &p.note}},
                    p.partialChoices);
    }
    AddText(out, "examples", doc.examples, 0);
    if (!doc.errors.empty()) {
        out += "errors:\n";
        for (const RecordDocError& e : doc.errors)
            AddItem(out, {std::pair{"code", &e.code}, std::pair{"text", &e.text}});
    }
    if (doc.category)
        out += "category: " + std::to_string(*doc.category) + "\n";
    if (doc.file)
        out += YamlTextWriter::Field("file", *doc.file, 0);
    if (doc.indexReserved)
        out += "index_reserved: [" + std::to_string(doc.indexReserved->first) + ", " +
               std::to_string(doc.indexReserved->second) + "]\n";
    return out;
}

bool RecordYaml::Read(const std::string& yaml, RecordDoc* pDoc, std::string* pError)
{
    YAML::Node root;
    if (!YamlDocument::Parse(yaml, &root, pError))
        return false;
    *pDoc = RecordDoc{};
    YamlFieldReader r;
    if (!r.Open(root,
                {"name", "description", "environment", "reserved_byte", "partial", "detail", "reserved_text",
                 "parameters", "examples", "errors", "category", "file", "index_reserved"})) {
        *pError = r.Error();
        return false;
    }
    uint64_t n = 0;
    bool bSet = false;
    bool ok = r.Text("name", CLFormat::kCmdName, &pDoc->name) &&
              r.Text("description", CLFormat::kDesc, &pDoc->description) &&
              r.Text("environment", CLFormat::kEnv, &pDoc->environment) &&
              r.Number("reserved_byte", 255, &n, &bSet) && r.Flag("partial", &pDoc->partial) &&
              r.Text("detail", CLFormat::kLongText, &pDoc->detail) &&
              r.Text("reserved_text", CLFormat::kLongText, &pDoc->reservedText) &&
              r.Text("examples", CLFormat::kLongText, &pDoc->examples);
    if (!ok) {
        *pError = r.Error();
        return false;
    }
    pDoc->reservedByte = static_cast<uint8_t>(bSet ? n : 0);
    if (pDoc->name.empty()) {
        *pError = r.Has("name") ? "name: empty" : "name: missing";
        return false;
    }
    if (!CLCmdManager::IsSafeFileName(pDoc->name.c_str())) {
        *pError = "name: cannot be a file name";
        return false;
    }

    std::vector<YAML::Node> items;
    if (!r.Sequence("parameters", &items)) {
        *pError = r.Error();
        return false;
    }
    for (size_t i = 0; i < items.size(); ++i) {
        YamlFieldReader item("parameters item " + std::to_string(i + 1) + ": ");
        RecordDocParam p;
        if (!item.Open(items[i], {"keyword", "description", "choices", "note", "partial"}) ||
            !item.Text("keyword", CLFormat::kKeyword, &p.keyword) ||
            !item.Text("description", CLFormat::kParamDesc, &p.description) ||
            !item.Text("choices", CLFormat::kChoices, &p.choices) ||
            !item.Text("note", CLFormat::kNote, &p.note) ||
            !item.Flag("partial", &p.partialChoices)) {
            *pError = item.Error();
            return false;
        }
        pDoc->parameters.push_back(std::move(p));
    }
    if (!r.Sequence("errors", &items)) {
        *pError = r.Error();
        return false;
    }
    for (size_t i = 0; i < items.size(); ++i) {
        YamlFieldReader item("errors item " + std::to_string(i + 1) + ": ");
        RecordDocError e;
        if (!item.Open(items[i], {"code", "text"}) ||
            !item.Text("code", CLFormat::kErrorCode, &e.code) ||
            !item.Text("text", CLFormat::kErrorText, &e.text)) {
            *pError = item.Error();
            return false;
        }
        pDoc->errors.push_back(std::move(e));
    }

    // The marks go into the reserved text, which must still fit.
    const size_t nReserved = pDoc->ReservedText().size();
    if (nReserved > CLFormat::kLongText) {
        *pError = "reserved_text: " + std::to_string(nReserved) + " bytes with the partial marks, at most " +
                  std::to_string(CLFormat::kLongText);
        return false;
    }
    if (!r.Number("category", UINT32_MAX, &n, &bSet)) {
        *pError = r.Error();
        return false;
    }
    if (bSet)
        pDoc->category = static_cast<uint32_t>(n);
    if (r.Has("file")) {
        std::string file;
        if (!r.Text("file", CLFormat::kCmdFileName, &file)) {
            *pError = r.Error();
            return false;
        }
        if (!CLCmdManager::IsSafeFileName(file.c_str())) {
            *pError = "file: cannot be a file name";
            return false;
        }
        pDoc->file = file;
    }
    if (r.Has("index_reserved")) {
        YAML::Node pair = r.Get("index_reserved");
        uint64_t a = 0, b = 0;
        std::string reason;
        if (!pair.IsSequence() || pair.size() != 2 ||
            !YamlFieldReader::DecodeNumber(pair[0], UINT32_MAX, &a, &reason) ||
            !YamlFieldReader::DecodeNumber(pair[1], UINT32_MAX, &b, &reason)) {
            *pError = "index_reserved: expected a list of two whole numbers from 0 to " +
                      std::to_string(UINT32_MAX);
            return false;
        }
        pDoc->indexReserved = std::make_pair(static_cast<uint32_t>(a), static_cast<uint32_t>(b));
    }
    return true;
}
