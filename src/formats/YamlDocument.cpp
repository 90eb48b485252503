#include "YamlDocument.h"

#include <yaml-cpp/eventhandler.h>

#include <cstring>
#include <sstream>

namespace {

// Takes a document's events and keeps none; counting documents with it costs
// no memory, whatever the input.
class NullHandler : public YAML::EventHandler
{
public:
    void OnDocumentStart(const YAML::Mark&) override {}
    void OnDocumentEnd() override {}
    void OnNull(const YAML::Mark&, YAML::anchor_t) override {}
    void OnAlias(const YAML::Mark&, YAML::anchor_t) override {}
    void OnScalar(const YAML::Mark&, const std::string&, YAML::anchor_t,
                  const std::string&) override
    {
    }
    void OnSequenceStart(const YAML::Mark&, const std::string&, YAML::anchor_t,
                         YAML::EmitterStyle::value) override
    {
    }
    void OnSequenceEnd() override {}
    void OnMapStart(const YAML::Mark&, const std::string&, YAML::anchor_t,
                    YAML::EmitterStyle::value) override
    {
    }
    void OnMapEnd() override {}
};

std::string Reason(const YAML::Exception& e)
{
    return e.mark.is_null() ? e.msg
                            : "line " + std::to_string(e.mark.line + 1) + ", column " +
                                  std::to_string(e.mark.column + 1) + ": " + e.msg;
}

} // namespace

bool YamlDocument::Parse(const std::string& text, YAML::Node* pRoot, std::string* pError)
{
    if (text.size() > kMaxBytes) {
        *pError = "larger than " + std::to_string(kMaxBytes >> 20) + " MB (" +
                  std::to_string(text.size()) +
                  " bytes), more than a record or category list holds";
        return false;
    }
    // The parser reads a zero byte as another character; the database could
    // not hold it anyway.
    if (const void* p = std::memchr(text.data(), 0, text.size())) { // NOLINT(bugprone-not-null-terminated-result)
        *pError = "a NUL byte at offset " +
                  std::to_string(static_cast<const char*>(p) - text.data()) +
                  " (a text file holds none)";
        return false;
    }
    try {
        // Count the documents first, stopping at the second: on some inputs
        // (a lone ",") the parser reports documents without end, and loading
        // them all would never finish.
        std::istringstream in(text);
        YAML::Parser parser(in);
        NullHandler handler;
        int nDocs = 0;
        while (nDocs < 2 && parser.HandleNextDocument(handler))
            ++nDocs;
        if (nDocs != 1) {
            *pError = nDocs == 0 ? "the file is empty" : "the file holds more than one document";
            return false;
        }
        *pRoot = YAML::Load(text);
    } catch (const YAML::Exception& e) {
        *pError = Reason(e);
        return false;
    }
    return true;
}
