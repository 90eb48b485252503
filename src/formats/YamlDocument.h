// YamlDocument: parses the text of one YAML file that must hold exactly one
// document, turning the parser's exceptions into a reason with its position.
#ifndef YAMLDOCUMENT_H
#define YAMLDOCUMENT_H

#include <yaml-cpp/yaml.h>

#include <cstddef>
#include <string>

class YamlDocument
{
public:
    // The largest YAML file taken: more than any record or category list
    // needs, and small enough that a hostile file is refused at once.
    static constexpr size_t kMaxBytes = 8u << 20;

    static bool Parse(const std::string& text, YAML::Node* pRoot, std::string* pError);
};

#endif
