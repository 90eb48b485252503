// CLWords: the forms a word of a CL command string takes, after the reader
// has upper-cased it (quoted strings keep their case and are not words).
//
//   name          A-Z, $, # or @, then also 0-9, _ and .; 1 to 10 characters
//   quoted name   "..." of 1 to 8 characters, none of * ? ' " inside
//   generic name  a name of 1 to 9 characters and a closing * (INV*)
//   special value * alone, or * and name characters (*LIBL)
//   number        a sign, digits and at most one decimal point or comma
//   variable      & and a name (&COUNT)
//   hex constant  X'...' with hex digits in pairs
//   qualified     two or more of the above parts joined by / (QGPL/MYFILE)
#ifndef CLWORDS_H
#define CLWORDS_H

#include <string>
#include <vector>

namespace CLWords {

constexpr size_t kMaxName = 10;
constexpr size_t kMaxQuotedName = 8;

bool IsName(const std::string& word, size_t nMax = kMaxName);
bool IsQuotedName(const std::string& word);
bool IsGenericName(const std::string& word);
bool IsSpecialValue(const std::string& word);
bool IsVariable(const std::string& word);
bool IsHexConstant(const std::string& word);
// The number a word holds; false when it is none.
bool ParseNumber(const std::string& word, double* pOut);
bool IsNumber(const std::string& word);
// The parts of a word split at each "/" (one part when there is none).
std::vector<std::string> Parts(const std::string& word);
// An operator of CL expressions: + - * / || |> |< & |, the relational
// symbols (= > < >= <= and their negations) and their words (*CAT, *EQ,
// *AND, *NOT, ...).
bool IsOperator(const std::string& word);

// Whether CL reads the word unquoted as one value: any form above (names
// and generic names of any length), or a qualified name of names, special
// values, generic names, numbers and variables. Upper case only: lower-case
// letters make it false.
bool IsBareValue(const std::string& word);

} // namespace CLWords

#endif
