#include "AppSettings.h"

TAppSettings AppSettings{};

CLOptions CurrentOptions()
{
    CLOptions options;
    options.nRunMode = AppSettings.RunMode;
    return options;
}
