// The process-wide settings. Read at start-up and written at shut-down by the
// settings file functions (LoadSettings, SaveSettings); all fields are zero or
// empty before they run.
#ifndef APPSETTINGS_H
#define APPSETTINGS_H

#include "CLOptions.h"
#include "CLRecords.h"

#include <cstdint>
#include <string>

struct TAppSettings
{
    int32_t RunMode;
    int32_t DataMode;                         // kept and written back; nothing depends on it
    int32_t LastCat;                          // category chosen last; 0 means all
    char LastCmd[sizeof(CLCmdIndex::szName)]; // command shown last
    std::string ImportFile;                   // last import file chosen; empty: the default
    std::string HtmlFolder;                   // last HTML output folder chosen; empty: the default
    int32_t TextZoom;                         // points added to the pages' text; 0 as designed
    std::string WebSite;                      // the site of "CL Command on the Web"; empty: none
};

extern TAppSettings AppSettings;

// The options a manager of this process is made with: the run mode read.
CLOptions CurrentOptions();

#endif
