#include "YamlDocument.h"

#include <vector>

bool YamlDocument::Parse(const std::string& text, YAML::Node* pRoot, std::string* pError)
{
    std::vector<YAML::Node> docs;
    try {
        docs = YAML::LoadAll(text);
    } catch (const YAML::Exception& e) {
        *pError = e.mark.is_null() ? e.msg
                                   : "line " + std::to_string(e.mark.line + 1) + ", column " +
                                         std::to_string(e.mark.column + 1) + ": " + e.msg;
        return false;
    }
    if (docs.size() != 1) {
        *pError = docs.empty() ? "the file is empty" : "the file holds more than one document";
        return false;
    }
    *pRoot = docs.front();
    return true;
}
