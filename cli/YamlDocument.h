// YamlDocument: parses the text of one YAML file that must hold exactly one
// document, turning the parser's exceptions into a reason with its position.
#ifndef YAMLDOCUMENT_H
#define YAMLDOCUMENT_H

#include <yaml-cpp/yaml.h>

#include <string>

class YamlDocument
{
public:
    static bool Parse(const std::string& text, YAML::Node* pRoot, std::string* pError);
};

#endif
