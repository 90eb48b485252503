// The shipped sample reference: every source file loads into a fresh program
// folder without a refusal, a message or a value cut to fit.
#include "CliHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

TEST(SampleSources, ListFitsTheFields)
{
    std::istringstream list(ReadText(ReferenceDir() + "/clcmd.txt"));
    std::string line;
    int nLine = 0, nCommands = 0;
    while (std::getline(list, line)) {
        ++nLine;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t sep = line.find(" - ");
        if (sep == std::string::npos)
            continue;
        const std::string title = line.substr(sep + 3);
        if (line[0] == '[') {
            EXPECT_LE(title.size(), 79u) << "line " << nLine << ": category name";
        } else {
            ++nCommands;
            EXPECT_LE(sep, 10u) << "line " << nLine << ": command name";
            EXPECT_LE(title.size(), 255u) << "line " << nLine << ": title";
            // One title form: the words spelled out, as the first sentence of
            // IBM's page for the command spells them.
            static const std::regex kShort(
                R"(\b(Desc|Dist|Auth|Attr|Cfg|Mgmt|Msg|Pgm|Ctl|Dev|Lib|Obj)\b)");
            EXPECT_FALSE(std::regex_search(title, kShort)) << "line " << nLine << ": " << line;
        }
    }
    EXPECT_GT(nCommands, 0);
}

TEST(SampleSources, LoadIntoAFreshFolderWithoutRefusals)
{
    CliHome home;
    CliResult r = home.Run({"import", "--records", ReferenceDir() + "/clcmd.txt"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string listed = home.Run({"list"}).out;

    r = home.Run({"load", ReferenceDir() + "/records"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    // Every record belongs to a command of the list.
    EXPECT_EQ(home.Run({"list"}).out, listed);
    home.Build();
    r = home.Run({"check"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    // Every category has a name and a file name, so the category editor can update it.
    std::istringstream cats(home.Run({"categories"}).out);
    std::string line;
    int nCats = 0;
    while (std::getline(cats, line)) {
        ++nCats;
        size_t tab1 = line.find('\t'), tab2 = line.rfind('\t');
        ASSERT_NE(tab1, tab2) << line;
        EXPECT_GT(tab2 - tab1, 1u) << "no name: " << line;
        EXPECT_GT(line.size() - tab2, 1u) << "no file name: " << line;
    }
    EXPECT_GT(nCats, 0);

    size_t nRecords = 0;
    for (const auto& entry : fs::directory_iterator(ReferenceDir() + "/records"))
        nRecords += entry.path().extension() == ".yaml";
    EXPECT_GT(nRecords, 0u);
}

namespace {

// The command names of the shipped list.
std::set<std::string> ListedNames()
{
    std::set<std::string> names;
    std::istringstream list(ReadText(ReferenceDir() + "/clcmd.txt"));
    std::string line;
    while (std::getline(list, line)) {
        size_t sep = line.find(" - ");
        if (sep != std::string::npos && !line.empty() && line[0] != '[' && line[0] != '#')
            names.insert(line.substr(0, sep));
    }
    return names;
}

bool NameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '@' || c == '#' || c == '$' ||
           c == '_';
}

// Words of a record's text that read as command names: upper case, 4 to 10
// characters, beginning with a CL verb, and used as a command: not a value in
// parentheses or after a slash, not a keyword before "(", not an object named
// in the sentence ("the program PAYCALC").
std::vector<std::string> CommandMentions(const std::string& text)
{
    static const char* const kVerbs[] = {
        "ADD", "ALC", "ANZ", "APY", "CALL", "CFG", "CHG", "CHK", "CLR", "CMP", "CPY", "CRT",
        "CVT", "DLC", "DLT", "DMP", "DSP",  "DUP", "EDT", "END", "GRT", "HLD", "INZ", "LOD",
        "MOV", "OVR", "PRT", "PWR", "RCL",  "RCV", "RGZ", "RLS", "RMV", "RNM", "RST", "RTV",
        "RUN", "RVK", "SAV", "SBM", "SND",  "STR", "TFR", "TRC", "UPD", "VFY", "VRY", "WRK"};
    static const std::regex kObject(
        "(program|procedure|library|file|area|queue|job|subsystem|member|object|profile|"
        "variable|label|named|called) $",
        std::regex::icase);
    std::vector<std::string> found;
    for (size_t i = 0; i < text.size();) {
        if (!NameChar(text[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && NameChar(text[end]))
            ++end;
        std::string word = text.substr(i, end - i);
        char before = i > 0 ? text[i - 1] : ' ';
        char after = end < text.size() ? text[end] : ' ';
        // Command names hold no digits but those of the S/36 and S/38 ones;
        // device names (PRT01) and message ids (EDT9007) do.
        std::string digits;
        std::copy_if(word.begin(), word.end(), std::back_inserter(digits),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
        bool bUpper =
            word.size() >= 4 && word.size() <= 10 && std::isupper(word[0]) &&
            std::none_of(word.begin(), word.end(), [](char c) { return std::islower(c); }) &&
            (digits.empty() || digits == "36" || digits == "38");
        bool bVerb = std::any_of(std::begin(kVerbs), std::end(kVerbs),
                                 [&](const char* v) { return word.rfind(v, 0) == 0; });
        bool bValue = std::strchr("*&(/'.", before) != nullptr || after == '(' || after == '/';
        std::string lead = text.substr(i >= 12 ? i - 12 : 0, i >= 12 ? 12 : i);
        if (bUpper && bVerb && !bValue && !std::regex_search(lead, kObject))
            found.push_back(word);
        i = end;
    }
    return found;
}

} // namespace

TEST(SampleSources, CommandsThatRecordsMentionAreListed)
{
    const std::set<std::string> names = ListedNames();
    ASSERT_GT(names.size(), 0u);
    for (const auto& entry : fs::directory_iterator(ReferenceDir() + "/records")) {
        if (entry.path().extension() != ".yaml" || entry.path().stem() == "categories")
            continue;
        const std::string text = ReadText(entry.path().string());
        EXPECT_TRUE(names.count(entry.path().stem().string())) << entry.path();
        // A record's own keywords may read like commands (CRTAUT of CRTLIB).
        std::set<std::string> keywords;
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line))
            if (size_t at = line.find("keyword: "); at != std::string::npos)
                keywords.insert(line.substr(at + 9));
        for (const std::string& word : CommandMentions(text))
            EXPECT_TRUE(names.count(word) || keywords.count(word))
                << entry.path().filename() << " mentions " << word << ", which the list lacks";
    }
}

TEST(SampleSources, MentionsAreFoundWhereCommandsAreNamed)
{
    auto found = CommandMentions("Use WRKJOBLOG instead, or ENDJOBABN. CALL PGM(CRTPAY) "
                                 "QSYS/CRTLIB AUT(*USE) CRTAUT(*ALL) the program DSPPAY runs "
                                 "on PRT01 with CPF2110; STRS36 too");
    EXPECT_EQ(found, (std::vector<std::string>{"WRKJOBLOG", "ENDJOBABN", "CALL", "STRS36"}));
}

// The records say what they leave out: no choice list trails off in "...",
// and a record whose texts say it lists only some parameters carries the
// partial mark (the program then says so wherever the record is shown).
TEST(SampleSources, PartialRecordsAreMarkedAndNoChoicesTrailOff)
{
    static const std::regex kSaysPartial(
        "only (the first ([0-9]+ parameters|parameter)|some (of (its|the) )?parameters)",
        std::regex::icase);
    size_t nPartial = 0;
    for (const auto& entry : fs::directory_iterator(ReferenceDir() + "/records")) {
        if (entry.path().extension() != ".yaml" || entry.path().stem() == "categories")
            continue;
        const std::string text = ReadText(entry.path().string());
        const bool bMarked = text.find("\npartial: true\n") != std::string::npos;
        nPartial += bMarked;
        EXPECT_TRUE(bMarked || !std::regex_search(text, kSaysPartial))
            << entry.path().filename() << " says it is partial but has no \"partial: true\"";
        std::istringstream lines(text);
        std::string line, key;
        while (std::getline(lines, line)) {
            // The choices' last line: the key's own line or its block's last.
            if (line.find("choices: ") != std::string::npos)
                key = "choices";
            else if (line.find(": ") != std::string::npos || line.rfind("  - ", 0) == 0)
                key.clear();
            std::string value = line;
            while (!value.empty() && (value.back() == '\'' || value.back() == ' '))
                value.pop_back();
            if (key == "choices") {
                EXPECT_FALSE(value.size() >= 3 && value.compare(value.size() - 3, 3, "...") == 0)
                    << entry.path().filename() << ": " << line;
            }
        }
    }
    EXPECT_GT(nPartial, 0u);
}

// A record's description is the command's title in the list, in one form.
TEST(SampleSources, RecordTitlesAreTheListsTitles)
{
    std::map<std::string, std::string> titles;
    std::istringstream list(ReadText(ReferenceDir() + "/clcmd.txt"));
    std::string line;
    while (std::getline(list, line)) {
        size_t sep = line.find(" - ");
        if (sep != std::string::npos && !line.empty() && line[0] != '[')
            titles[line.substr(0, sep)] = line.substr(sep + 3);
    }
    for (const auto& entry : fs::directory_iterator(ReferenceDir() + "/records")) {
        if (entry.path().extension() != ".yaml" || entry.path().stem() == "categories")
            continue;
        std::istringstream text(ReadText(entry.path().string()));
        while (std::getline(text, line)) {
            if (line.rfind("description: ", 0) != 0)
                continue;
            std::string title = line.substr(13);
            if (title.size() >= 2 && title.front() == '\'' && title.back() == '\'')
                title = title.substr(1, title.size() - 2);
            EXPECT_EQ(title, titles[entry.path().stem().string()]) << entry.path().filename();
            break;
        }
    }
}
