#include "apputil.h"

#include "AppSettings.h"
#include "CLFormat.h"
#include "CLRecordUtil.h"
#include "WinUtil.h"

#include <QRegularExpression>
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

WindowGeometry LoadWindowGeometry()
{
    QSettings settings(QString::fromStdString(GetSettingsFileName()), QSettings::IniFormat);
    settings.beginGroup(kGroup);
    WindowGeometry g;
    const int32_t w = ReadInt(settings, "WindowWidth", 0), h = ReadInt(settings, "WindowHeight", 0);
    if (w <= 0 || h <= 0 || w > 30000 || h > 30000)
        return g;
    g.bKnown = true;
    g.size = QSize(w, h);
    g.pos = QPoint(ReadInt(settings, "WindowLeft", 0), ReadInt(settings, "WindowTop", 0));
    g.bMaximised = ReadInt(settings, "WindowMaximized", 0) == 1;
    const QStringList parts = ReadText(settings, "Splitter")
                                  .split(QRegularExpression(QStringLiteral("[\\s,]+")),
                                         Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        bool ok = false;
        const int n = part.trimmed().toInt(&ok);
        if (ok && n >= 0 && n < 30000)
            g.splitter << n;
    }
    if (g.splitter.size() != 2)
        g.splitter.clear();
    return g;
}

void StoreWindowGeometry(const WindowGeometry& g)
{
    QSettings settings(QString::fromStdString(GetSettingsFileName()), QSettings::IniFormat);
    settings.beginGroup(kGroup);
    settings.setValue("WindowLeft", QString::number(g.pos.x()));
    settings.setValue("WindowTop", QString::number(g.pos.y()));
    settings.setValue("WindowWidth", QString::number(g.size.width()));
    settings.setValue("WindowHeight", QString::number(g.size.height()));
    settings.setValue("WindowMaximized", QString::number(g.bMaximised ? 1 : 0));
    QStringList parts;
    for (int n : g.splitter)
        parts << QString::number(n);
    // One text, so the file holds "a b" and not a list the profile functions would misread.
    settings.setValue("Splitter", parts.join(QLatin1Char(' ')));
    settings.endGroup();
    settings.sync();
}

void SaveWebSite(const std::string& site)
{
    QSettings settings(QString::fromStdString(GetSettingsFileName()), QSettings::IniFormat);
    settings.beginGroup(kGroup);
    settings.setValue("WebSite", QString::fromStdString(site));
    AppSettings.WebSite = site;
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
