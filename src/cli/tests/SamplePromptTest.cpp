// The prompter over every record of the shipped reference: the records' own
// examples explain without an error, and what the prompter builds from any
// value reads back, through explain, as the same value.
#include "CliRunner.h"
#include "TestHome.h"

#include "CLCmdManager.h"
#include "CLCommandString.h"
#include "CLPrompt.h"
#include "RecordMaker.h"
#include "RecordYaml.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

struct Shipped
{
    CLCmdIndex idx{};
    RecordPtr pRec{new CLCmdRecord};
};

// Every record of the shipped reference, read from its source.
const std::vector<std::unique_ptr<Shipped>>& Records()
{
    static std::vector<std::unique_ptr<Shipped>> records = [] {
        std::vector<std::unique_ptr<Shipped>> out;
        for (const auto& entry : fs::directory_iterator(ReferenceDir() + "/records")) {
            if (entry.path().extension() != ".yaml" || entry.path().stem() == "categories")
                continue;
            RecordDoc doc;
            std::string why;
            EXPECT_TRUE(RecordYaml::Read(ReadText(entry.path().string()), &doc, &why)) << why;
            auto s = std::make_unique<Shipped>();
            CLCmdManager::InitCmdRecord(&s->idx, s->pRec.get());
            doc.ToRecord(s->pRec.get());
            out.push_back(std::move(s));
        }
        return out;
    }();
    return records;
}

std::string Texts(const std::vector<CLPromptProblem>& problems)
{
    std::string out;
    for (const CLPromptProblem& p : problems)
        out += (p.bNote ? "  note: " : "  ") + p.text + "\n";
    return out;
}

} // namespace

TEST(SamplePrompt, TheRecordsOwnExamplesExplainWithoutErrors)
{
    ASSERT_GT(Records().size(), 400u);
    size_t nChecked = 0;
    for (const auto& s : Records()) {
        const CLCmdRecord& rec = *s->pRec;
        if (!rec.pszExample || rec.dwParamCount == 0)
            continue;
        const CLPrompt prompt(rec);
        const std::string text = rec.pszExample;
        for (size_t b = 0; b < text.size();) {
            size_t e = text.find('\n', b);
            e = e == std::string::npos ? text.size() : e;
            const std::string command = CLCommandString::CommandAt(text, b);
            b = e + 1;
            CLParsedCommand parsed;
            std::string why;
            if (command.empty() || !CLCommandString::Parse(command, &parsed, &why) ||
                parsed.name != prompt.Name())
                continue;
            std::vector<CLGivenParam> given;
            std::vector<CLPromptProblem> problems;
            ASSERT_TRUE(prompt.Explain(command, &given, &problems, &why)) << command;
            EXPECT_FALSE(CLPromptProblem::AnyError(problems)) << command << "\n" << Texts(problems);
            ++nChecked;
        }
    }
    EXPECT_GT(nChecked, 800u);
}

namespace {

// The problems about one keyword, but for a missing required value.
std::vector<std::string> About(const std::vector<CLPromptProblem>& problems,
                               const std::string& keyword)
{
    std::vector<std::string> out;
    for (const CLPromptProblem& p : problems)
        if (p.keyword == keyword && p.text != keyword + ": a value is required.")
            out.push_back(p.text);
    return out;
}

} // namespace

// Whatever is typed into a field, the command built holds it so that explain
// reads the same value back, quoted text keeps its case and apostrophes, and
// both sides find the same problems with it.
TEST(SamplePrompt, WhatIsBuiltExplainsBackToTheSameValues)
{
    size_t nValues = 0;
    for (const auto& s : Records()) {
        const CLPrompt prompt(*s->pRec);
        for (const CLPromptParam& p : prompt.Params()) {
            std::vector<std::string> typed = {"/home/Me/a b.txt",
                                              "It's Mixed, Case",
                                              "mylib",
                                              "qgpl/myobj",
                                              "12",
                                              "(a b)",
                                              "&Var",
                                              "x'F1'",
                                              "A*"};
            typed.insert(typed.end(), p.specials.begin(), p.specials.end());
            for (const std::string& value : typed) {
                std::vector<CLPromptProblem> built, read;
                const std::string command = prompt.Build({{p.keyword, value}}, &built);
                const std::string text = CLPrompt::ValueText(p, value);
                ASSERT_EQ(command, prompt.Name() + " " + p.keyword + "(" + text + ")");
                std::vector<CLGivenParam> given;
                std::string why;
                ASSERT_TRUE(prompt.Explain(command, &given, &read, &why)) << command << why;
                ASSERT_EQ(given.size(), 1u) << command;
                EXPECT_EQ(given[0].keyword, p.keyword);
                EXPECT_EQ(given[0].value, text) << command;
                EXPECT_EQ(About(read, p.keyword), About(built, p.keyword)) << command;
                CLParsedCommand parsed;
                ASSERT_TRUE(CLCommandString::Parse(command, &parsed, &why));
                const std::vector<CLValue>& elements = parsed.params[0].elements;
                if (elements.size() == 1 && elements[0].kind == CLValue::Quoted) {
                    EXPECT_EQ(elements[0].text, value) << command;
                }
                ++nValues;
            }
        }
    }
    EXPECT_GT(nValues, 20000u);
}
