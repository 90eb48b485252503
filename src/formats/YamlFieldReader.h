// YamlFieldReader: reads the fields of one YAML mapping into database values,
// refusing what the database cannot hold. Every failure leaves a reason that
// names the field, such as "parameters item 2: choices: 250 bytes, at most 199".
#ifndef YAMLFIELDREADER_H
#define YAMLFIELDREADER_H

#include <yaml-cpp/yaml.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

class YamlFieldReader
{
public:
    // where prefixes every reason ("" or "parameters item 2: ").
    explicit YamlFieldReader(std::string where = "");

    // Takes a mapping (a null node counts as an empty one). False when the
    // node is no mapping or has a key that is not in keys or appears twice.
    bool Open(const YAML::Node& node, std::initializer_list<const char*> keys);

    bool Has(const char* key) const;
    // The value of a key, a null node when it is absent.
    YAML::Node Get(const char* key) const;

    // A text field: absent or null means empty. Non-"!raw" texts get CR LF
    // line breaks; nMax is counted in bytes after that.
    bool Text(const char* key, size_t nMax, std::string* pOut);
    // An unsigned decimal number up to nMax; *pbSet tells whether it was given.
    bool Number(const char* key, uint64_t nMax, uint64_t* pOut, bool* pbSet);
    // A flag: true or false (absent or null: false).
    bool Flag(const char* key, bool* pOut);
    // A sequence (absent or null: none); each item goes to the caller.
    bool Sequence(const char* key, std::vector<YAML::Node>* pItems);

    const std::string& Error() const { return m_sError; }

    // One scalar as database text, without limits.
    static bool DecodeText(const YAML::Node& node, std::string* pOut, std::string* pError);
    static bool DecodeNumber(const YAML::Node& node, uint64_t nMax, uint64_t* pOut,
                             std::string* pError);

private:
    bool Fail(const std::string& key, const std::string& reason);

    std::string m_sWhere;
    std::string m_sError;
    std::vector<std::pair<std::string, YAML::Node>> m_fields;
};

#endif
