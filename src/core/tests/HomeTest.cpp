// Which folder the data lives in, and the per-user copy of the installed
// reference that is never left half made.
#include "CLHome.h"
#include "CxFile.h"
#include "TestHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// An installed tree under a test folder: PREFIX/bin and PREFIX/share/zentrivo.
struct Install
{
    TestHome home;
    std::string bin = home.File("usr/bin/");
    std::string shared = home.File("usr/share/zentrivo/");
#ifdef _WIN32
    std::string user = home.File("user/Zentrivo/"); // %APPDATA%\Zentrivo
#else
    std::string user = home.File("user/zentrivo/");
#endif
    Install()
    {
        fs::create_directories(bin);
        fs::create_directories(shared + "data");
        WriteText(shared + "cldict.dat", "index");
        WriteText(shared + "clcat.dat", "categories");
        WriteText(shared + "data/CRTLIB.dat", "record");
    }
    CLHome::Inputs In(const std::string& given = "", const std::string& env = "") const
    {
        return {given, env, bin, home.File("user")};
    }
};

std::vector<std::string> Tree(const std::string& dir)
{
    std::vector<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        out.push_back(fs::relative(e.path(), dir).generic_string() + " " +
                      (e.is_regular_file() ? ReadText(e.path().string()) : "/"));
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

TEST(Home, GivenThenEnvironmentThenProgramFolderThenUserFolder)
{
    Install in;
    using K = CLHome::Kind;
    EXPECT_EQ(CLHome::Choose(in.In("/given", "/env")).folder, "/given/");
    EXPECT_EQ(CLHome::Choose(in.In("/given", "/env")).kind, K::Given);
    EXPECT_EQ(CLHome::Choose(in.In("", "/env/")).folder, "/env/");
    EXPECT_EQ(CLHome::Choose(in.In("", "/env/")).kind, K::Environment);
    // An installed program's folder holds no data: the user's folder.
    CLHome::Choice c = CLHome::Choose(in.In());
    EXPECT_EQ(c.kind, K::User);
    EXPECT_EQ(c.folder, in.user);
    // A build folder or a portable copy holds its data: it stays where it is.
    WriteText(in.bin + "cldict.dat", "index");
    EXPECT_EQ(CLHome::Choose(in.In()).kind, K::Program);
    EXPECT_EQ(CLHome::Choose(in.In()).folder, in.bin);
    // Without any user folder to go to, the program folder it is.
    fs::remove(in.bin + "cldict.dat");
    EXPECT_EQ(CLHome::Choose({"", "", in.bin, ""}).kind, K::Program);
}

TEST(Home, AWritableProgramFolderIsTheFolderEvenWhenEmpty)
{
    TestHome home;
    std::string bin = home.File("portable/");
    fs::create_directories(bin);
    CLHome::Inputs in{"", "", bin, home.File("user")};
    // First run of a copy unpacked anywhere: no data yet, no shared reference.
    EXPECT_EQ(CLHome::Choose(in).kind, CLHome::Kind::Program);
    EXPECT_EQ(CLHome::Choose(in).folder, bin);
#ifndef _WIN32
    // A folder it cannot write sends it to the user's folder.
    if (::geteuid() != 0) {
        chmod(bin.c_str(), 0555);
        EXPECT_EQ(CLHome::Choose(in).kind, CLHome::Kind::User);
        chmod(bin.c_str(), 0755);
    }
#endif
}

TEST(Home, TheSharedReferenceLiesBesideTheProgram)
{
    Install in;
    EXPECT_EQ(CLHome::SharedReference(in.bin), in.shared);
    EXPECT_EQ(CLHome::SharedReference(in.bin.substr(0, in.bin.size() - 1)), in.shared);
    fs::remove(in.shared + "cldict.dat");
    EXPECT_EQ(CLHome::SharedReference(in.bin), "");
    EXPECT_EQ(CLHome::SharedReference(in.home.File("nowhere/")), "");
}

TEST(Home, TheUserFolderIsACompleteCopyOrNone)
{
    Install in;
    std::string why;
#ifndef _WIN32
    chmod((in.shared + "cldict.dat").c_str(), 0444); // installed files are read-only
#endif
    // Leftovers of a copy cut short are cleared away.
    fs::create_directories(in.user.substr(0, in.user.size() - 1) + ".zentrivo-copy-123/data");
    ASSERT_TRUE(CLHome::PrepareUserFolder(in.user, in.shared, &why)) << why;
    EXPECT_EQ(Tree(in.user), Tree(in.shared));
    EXPECT_EQ(ListDir(in.home.File("user")).size(), 1u);
    auto perms = fs::status(in.user + "cldict.dat").permissions();
    EXPECT_NE(perms & fs::perms::owner_write, fs::perms::none);

    // An existing folder is the user's: never copied over.
    WriteText(in.user + "cldict.dat", "the user's own");
    ASSERT_TRUE(CLHome::PrepareUserFolder(in.user, in.shared, &why));
    EXPECT_EQ(ReadText(in.user + "cldict.dat"), "the user's own");

    // Without a shared reference the folder starts empty, with data/.
    fs::remove_all(in.user);
    ASSERT_TRUE(CLHome::PrepareUserFolder(in.user, "", &why));
    EXPECT_EQ(Tree(in.user), std::vector<std::string>{"data /"});

    // A parent that is a file: refused, with the reason, nothing made.
    WriteText(in.home.File("file"), "x");
    EXPECT_FALSE(CLHome::PrepareUserFolder(in.home.File("file/zentrivo/"), in.shared, &why));
    EXPECT_NE(why.find("cannot be created"), std::string::npos) << why;
}

namespace {
std::vector<std::string> g_synced;
}

TEST(Home, TheCopyIsDurableBeforeAndAfterItsRename)
{
    Install in;
    g_synced.clear();
    CxFile::s_pSyncHook = [](const std::string& path) { g_synced.push_back(path); };
    std::string why;
    bool ok = CLHome::PrepareUserFolder(in.user, in.shared, &why);
    CxFile::s_pSyncHook = nullptr;
    ASSERT_TRUE(ok) << why;
    // Every file of the copy was synced under its temporary name, before the
    // rename; the folder that holds the copy last, after it.
    const std::string parent = in.home.File("user");
    ASSERT_FALSE(g_synced.empty());
    EXPECT_EQ(fs::path(g_synced.back()), fs::path(parent));
    for (const auto& e : fs::recursive_directory_iterator(in.user)) {
        if (!e.is_regular_file())
            continue;
        const std::string file = "/" + fs::relative(e.path(), in.user).generic_string();
        bool bSynced = std::any_of(g_synced.begin(), g_synced.end() - 1, [&](const std::string& s) {
            const std::string p = fs::path(s).generic_string();
            return p.find(".zentrivo-copy-") != std::string::npos && p.size() >= file.size() &&
                   p.compare(p.size() - file.size(), file.size(), file) == 0;
        });
        EXPECT_TRUE(bSynced) << file;
    }
}

#ifndef _WIN32
TEST(Home, ACopyThatFailsLeavesNothingBehind)
{
    Install in;
    // A pipe cannot be copied: the copy fails half-way.
    ASSERT_EQ(mkfifo((in.shared + "data/ZZZ.dat").c_str(), 0644), 0);
    std::string why;
    EXPECT_FALSE(CLHome::PrepareUserFolder(in.user, in.shared, &why));
    EXPECT_NE(why.find("cannot be copied"), std::string::npos) << why;
    EXPECT_TRUE(ListDir(in.home.File("user")).empty());
}
#endif
