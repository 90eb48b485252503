// CLSearchIndex: every word of every command of a reference, for searches
// that answer as the user types. Built once from a manager's records (which
// may take a while for a large reference: build it off the window's thread,
// on a manager of its own), then searched any number of times; a built index
// is read-only, so searches may run on any thread.
//
// For each distinct word the index keeps one entry per command that holds it,
// with the best place the word has in that command (see CLSearch.h) and its
// weight there, so a search touches only the commands its words occur in.
// The commands found are ranked as CLSearchRank.h says; a query that finds
// nothing is corrected as CLSearchSpeller.h says and searched again.
#ifndef CLSEARCHINDEX_H
#define CLSEARCHINDEX_H

#include "CLSearch.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class CLCmdManager;

class CLSearchIndex
{
public:
    // Reads the record of every entry of the manager, as its run mode says,
    // and indexes it; records that were not loaded are freed again. Stops
    // early (returning false) when *pStop becomes true.
    bool Build(CLCmdManager& manager, const std::atomic<bool>* pStop = nullptr);
    // The commands for a query, best first, at most nLimit of them, and how
    // many there are; for a message id also every command that sends it.
    CLSearch::Results Find(std::string_view query, size_t nLimit = SIZE_MAX) const;

    size_t CommandCount() const { return m_cmds.size(); }
    // Whether the command has a record beyond its name and title (parameters,
    // error messages, detail or examples); true for a name the index lacks.
    bool IsDocumented(const std::string& name) const { return !m_undocumented.count(name); }
    // Bytes of text the index covers, and bytes it holds.
    uint64_t TextBytes() const { return m_nTextBytes; }
    uint64_t MemoryBytes() const;

private:
    struct Posting
    {
        uint32_t cmd;
        uint8_t rank;
        uint8_t field;
        uint16_t item;
        uint16_t weight;
    };
    struct Cmd
    {
        std::string name, title;
        std::vector<uint32_t> titleWords;                        // indices into m_words
        std::vector<std::string> keywords;                       // by parameter
        std::vector<std::pair<std::string, std::string>> errors; // code, text
    };
    // The words of m_words a query word matches: [first, second).
    using WordRange = std::pair<uint32_t, uint32_t>;
    WordRange Matching(const std::string& word, bool bPrefix) const;
    void Add(const CLCmdRecord& rec, std::string_view name);
    std::string WhereOf(const Cmd& c, CLSearch::Field field, uint32_t item) const;
    CLSearch::Results Search(const CLSearch::Query& q, size_t nLimit) const;
    void FindSends(const CLSearch::Query& q, CLSearch::Results* pOut) const;

    std::vector<Cmd> m_cmds;
    std::vector<std::string> m_words; // sorted, folded
    std::vector<uint32_t> m_first;    // m_words[i]'s postings: [m_first[i], m_first[i + 1])
    std::vector<Posting> m_postings;
    std::unordered_set<std::string> m_undocumented;
    uint64_t m_nTextBytes = 0;
};

#endif
