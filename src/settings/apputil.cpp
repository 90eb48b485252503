#include "apputil.h"

#include "AppSettings.h"
#include "CLFormat.h"
#include "CLRecordUtil.h"
#include "WinUtil.h"

#include <QSettings>
#include <QStringList>

#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kGroup = "Zentrivo";

// A value as text; a value with commas comes back from the INI reader as a list.
QString ReadText(const QSettings& settings, const char* key)
{
    QVariant v = settings.value(key);
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

// Reads an integer the way the profile functions do: leading digits, with a
// sign; the default only when the key is missing.
int32_t ReadInt(const QSettings& settings, const char* key, int32_t nDefault)
{
    if (!settings.contains(key))
        return nDefault;
    QByteArray text = ReadText(settings, key).toLatin1();
    return static_cast<int32_t>(std::strtol(text.constData(), nullptr, 10));
}

std::string ToLocal(const QString& s)
{
    return s.toStdString();
}

} // namespace

std::string GetSettingsFileName()
{
    return AppFile("tarvexa.ini");
}

void LoadSettings()
{
    AppSettings = TAppSettings{};
    QSettings settings(QString::fromStdString(GetSettingsFileName()), QSettings::IniFormat);
    settings.beginGroup(kGroup);
    AppSettings.RunMode = ReadInt(settings, "RunMode", 2);
    AppSettings.DataMode = ReadInt(settings, "DataMode", 1);
    AppSettings.LastCat = ReadInt(settings, "LastCat", 0);
    CopyField(AppSettings.LastCmd, ReadText(settings, "LastCmd").toLatin1().toStdString());
    AppSettings.ImportFile = ToLocal(ReadText(settings, "ImportFile"));
    AppSettings.HtmlFolder = ToLocal(ReadText(settings, "HtmlFolder"));
    AppSettings.TextZoom = ReadInt(settings, "TextZoom", 0);
    AppSettings.WebSite = ToLocal(ReadText(settings, "WebSite").trimmed());
}

std::string ReloadWebSite()
{
    QSettings settings(QString::fromStdString(GetSettingsFileName()), QSettings::IniFormat);
    settings.beginGroup(kGroup);
    AppSettings.WebSite = ToLocal(ReadText(settings, "WebSite").trimmed());
    return AppSettings.WebSite;
}

CLHtmlOptions LoadHtmlOptions(std::string* pWhy)
{
    QSettings settings(QString::fromStdString(GetSettingsFileName()), QSettings::IniFormat);
    settings.beginGroup(kGroup);
    CLHtmlOptions options;
    options.bRaw = ReadInt(settings, "HtmlRaw", 0) == 1;
    const std::string holder = ReadText(settings, "CopyrightHolder").trimmed().toLatin1().toStdString();
    if (!holder.empty())
        options.copyrightHolder = holder;
    for (auto [key, pId] : {std::pair{"AdClient", &options.adClient},
                            std::pair{"AdChannel", &options.adChannel}}) {
        const std::string id = ReadText(settings, key).trimmed().toStdString();
        if (id.empty())
            continue;
        if (CLHtmlOptions::IsAdId(id))
            *pId = id;
        else if (pWhy)
            *pWhy = std::string(key) + "=" + id + " in \"" + GetSettingsFileName() +
                    "\" is not an ad id (letters, digits, - and _); the pages get no ads.";
    }
    return options;
}

void SaveSettings()
{
    QSettings settings(QString::fromStdString(GetSettingsFileName()), QSettings::IniFormat);
    settings.beginGroup(kGroup);
    settings.setValue("RunMode", QString::number(AppSettings.RunMode));
    settings.setValue("DataMode", QString::number(AppSettings.DataMode));
    settings.setValue("LastCat", QString::number(AppSettings.LastCat));
    settings.setValue("LastCmd",
                      QString::fromLatin1(AppSettings.LastCmd,
                                          strnlen(AppSettings.LastCmd, CLFormat::kCmdName)));
    if (!AppSettings.ImportFile.empty())
        settings.setValue("ImportFile", QString::fromStdString(AppSettings.ImportFile));
    if (!AppSettings.HtmlFolder.empty())
        settings.setValue("HtmlFolder", QString::fromStdString(AppSettings.HtmlFolder));
    if (AppSettings.TextZoom != 0 || settings.contains("TextZoom"))
        settings.setValue("TextZoom", QString::number(AppSettings.TextZoom));
    settings.endGroup();
    settings.sync();
}

// Where the choosers start before the author has chosen anything.
#ifdef _WIN32
constexpr const char* kDefaultImportFile = "d:\\clcmd.txt";
constexpr const char* kDefaultHtmlFolder = "d:\\affiliates\\tarvexa\\test\\";
#endif

std::string GetImportFile()
{
    if (!AppSettings.ImportFile.empty())
        return AppSettings.ImportFile;
#ifdef _WIN32
    return kDefaultImportFile;
#else
    return AppFile("clcmd.txt");
#endif
}

std::string GetHtmlFolder()
{
    if (!AppSettings.HtmlFolder.empty())
        return AppSettings.HtmlFolder;
#ifdef _WIN32
    return kDefaultHtmlFolder;
#else
    return AppFile("html/");
#endif
}
