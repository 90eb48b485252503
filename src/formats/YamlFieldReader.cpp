#include "YamlFieldReader.h"

#include "CxText.h"

#include <algorithm>
#include <cstring>

namespace {

// The tags a text may carry: none ("?" plain, "!" quoted or block), the
// standard string tag, or "!raw" for text taken exactly as written.
constexpr const char* kRawTag = "!raw";

bool IsTextTag(const std::string& tag)
{
    return tag.empty() || tag == "?" || tag == "!" || tag == "tag:yaml.org,2002:str" ||
           tag == kRawTag;
}

} // namespace

YamlFieldReader::YamlFieldReader(std::string where) : m_sWhere(std::move(where)) {}

bool YamlFieldReader::Fail(const std::string& key, const std::string& reason)
{
    m_sError = m_sWhere + (key.empty() ? "" : key + ": ") + reason;
    return false;
}

bool YamlFieldReader::Open(const YAML::Node& node, std::initializer_list<const char*> keys)
{
    m_fields.clear();
    if (node.IsNull())
        return true;
    if (!node.IsMap())
        return Fail("", "expected a mapping of keys and values");
    for (auto it = node.begin(); it != node.end(); ++it) {
        if (!it->first.IsScalar())
            return Fail("", "a key must be a plain name");
        const std::string& key = it->first.Scalar();
        if (std::none_of(keys.begin(), keys.end(), [&key](const char* k) { return key == k; }))
            return Fail("", "unknown key \"" + key + "\"");
        if (Has(key.c_str()))
            return Fail("", "key \"" + key + "\" appears twice");
        m_fields.emplace_back(key, it->second);
    }
    return true;
}

bool YamlFieldReader::Has(const char* key) const
{
    return std::any_of(m_fields.begin(), m_fields.end(),
                       [key](const auto& f) { return f.first == key; });
}

YAML::Node YamlFieldReader::Get(const char* key) const
{
    for (const auto& f : m_fields)
        if (f.first == key)
            return f.second;
    return YAML::Node(YAML::NodeType::Null);
}

bool YamlFieldReader::DecodeText(const YAML::Node& node, std::string* pOut, std::string* pError)
{
    if (node.IsNull()) {
        pOut->clear();
        return true;
    }
    if (!node.IsScalar()) {
        *pError = "expected text";
        return false;
    }
    if (!IsTextTag(node.Tag())) {
        *pError = "unknown tag \"" + node.Tag() + "\"";
        return false;
    }
    std::string latin1;
    if (!CxText::FromUtf8(node.Scalar(), &latin1, pError))
        return false;
    *pOut = node.Tag() == kRawTag ? latin1 : CxText::LfToCrLf(latin1);
    return true;
}

bool YamlFieldReader::DecodeNumber(const YAML::Node& node, uint64_t nMax, uint64_t* pOut,
                                   std::string* pError)
{
    const std::string text = node.IsScalar() ? node.Scalar() : std::string();
    uint64_t n = 0;
    bool ok = !text.empty();
    for (char c : text) {
        auto d = static_cast<uint64_t>(c - '0');
        if (c < '0' || c > '9' || n > nMax / 10 || d > nMax - n * 10) {
            ok = false;
            break;
        }
        n = n * 10 + d;
    }
    if (!ok || n > nMax) {
        *pError = "expected a whole number from 0 to " + std::to_string(nMax);
        return false;
    }
    *pOut = n;
    return true;
}

bool YamlFieldReader::Text(const char* key, size_t nMax, std::string* pOut)
{
    std::string reason;
    if (!DecodeText(Get(key), pOut, &reason))
        return Fail(key, reason);
    if (pOut->size() > nMax)
        return Fail(key, std::to_string(pOut->size()) + " bytes, at most " + std::to_string(nMax));
    return true;
}

bool YamlFieldReader::Number(const char* key, uint64_t nMax, uint64_t* pOut, bool* pbSet)
{
    *pbSet = false;
    if (!Has(key))
        return true;
    std::string reason;
    if (!DecodeNumber(Get(key), nMax, pOut, &reason))
        return Fail(key, reason);
    *pbSet = true;
    return true;
}

bool YamlFieldReader::Flag(const char* key, bool* pOut)
{
    *pOut = false;
    YAML::Node node = Get(key);
    if (node.IsNull())
        return true;
    const std::string text = node.IsScalar() ? node.Scalar() : std::string();
    if (text != "true" && text != "false")
        return Fail(key, "expected true or false");
    *pOut = text == "true";
    return true;
}

bool YamlFieldReader::Sequence(const char* key, std::vector<YAML::Node>* pItems)
{
    pItems->clear();
    YAML::Node node = Get(key);
    if (node.IsNull())
        return true;
    if (!node.IsSequence())
        return Fail(key, "expected a list");
    for (const YAML::Node& item : node)
        pItems->push_back(item);
    return true;
}
