#include "AppSettings.h"

TAppSettings AppSettings{};
