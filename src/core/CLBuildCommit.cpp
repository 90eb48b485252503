#include "CLBuildCommit.h"

#include "CLCmdManager.h"
#include "CxFile.h"
#include "WinUtil.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const kTargets[] = {"clcmd.dat", "cldict.dat"};

std::string BaseName(const std::string& path)
{
    size_t n = path.find_last_of("/\\");
    return n == std::string::npos ? path : path.substr(n + 1);
}

// A temporary file of a replacement of target: TARGET.tmpPID-N.
bool IsTempOf(const std::string& name, const std::string& target)
{
    std::string of;
    return CxFile::ParseTempName(name, &of, nullptr) && of == target;
}

// Removes the temporaries that writers stopped part-way left behind: those
// of the list files, of a build and of its marker in the program folder, and
// those of per-command files in data/. A temporary of a process that still
// runs is its own, and stays.
void RemoveLeftovers(const std::string& folder)
{
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
        std::string target;
        const std::string name = e.path().filename().string();
        if (!CxFile::IsOrphanedTemp(name, &target))
            continue;
        bool bOurs = target == "clcmd.dat" || target == "cldict.dat" || target == "clcat.dat" ||
                     target == CLBuildCommit::kMarker;
        if (bOurs && e.is_regular_file(ec))
            fs::remove(e.path(), ec);
    }
    for (const fs::directory_entry& e : fs::directory_iterator(folder + "data", ec)) {
        std::string target;
        if (CxFile::IsOrphanedTemp(e.path().filename().string(), &target) &&
            CLCmdManager::IsSafeFileName(target.c_str()) && e.is_regular_file(ec))
            fs::remove(e.path(), ec);
    }
}

void Step(int n)
{
    if (CLBuildCommit::s_pStepHook)
        CLBuildCommit::s_pStepHook(n);
}

} // namespace

void (*CLBuildCommit::s_pStepHook)(int) = nullptr;

bool CLBuildCommit::Commit(const std::string& joinedTemp, const std::string& indexTemp,
                           std::string* pWhy)
{
    const std::string marker = AppFile(kMarker);
    Step(0);
    CxFile file;
    bool ok = file.OpenReplace(marker.c_str()) &&
              file.WriteLine(BaseName(joinedTemp) + "\t" + kTargets[0]) &&
              file.WriteLine(BaseName(indexTemp) + "\t" + kTargets[1]) && file.Commit();
    if (!ok) {
        std::remove(joinedTemp.c_str());
        std::remove(indexTemp.c_str());
        *pWhy = "The file \"" + marker + "\" cannot be written.";
        return false;
    }
    // From here on the new pair is decided: Recover() finishes what a crash interrupts.
    Step(1);
    CxFile::ReplaceFile(joinedTemp, AppFile(kTargets[0]));
    Step(2);
    CxFile::ReplaceFile(indexTemp, AppFile(kTargets[1]));
    Step(3);
    std::remove(marker.c_str());
    CxFile::SyncFolder(GetAppPath());
    return true;
}

void CLBuildCommit::Recover()
{
    const std::string marker = AppFile(kMarker);
    std::ifstream in(marker, std::ios::binary);
    if (in) {
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            size_t tab = line.find('\t');
            if (tab == std::string::npos)
                continue;
            const std::string temp = line.substr(0, tab), target = line.substr(tab + 1);
            // Only the two files of a build, and only from their own temporaries.
            bool bKnown = target == kTargets[0] || target == kTargets[1];
            if (bKnown && IsTempOf(temp, target) && CLCmdManager::IsSafeFileName(temp.c_str())) {
                std::error_code ec;
                if (fs::exists(AppFile(temp), ec))
                    CxFile::ReplaceFile(AppFile(temp), AppFile(target));
            }
        }
        in.close();
        std::remove(marker.c_str());
        CxFile::SyncFolder(GetAppPath());
    }
    RemoveLeftovers(GetAppPath());
}
