// The settings file "tarvexa.ini" in the program folder, section "Zentrivo":
// RunMode (default 2), DataMode (1), LastCat (0), LastCmd (empty), the
// author's choices ImportFile and HtmlFolder (written only once chosen), and
// the reader's TextZoom (points added to the pages' text; written once changed),
// and WebSite (the site that "CL Command on the Web" opens, for example
// https://www.example.com; set by hand in the file, never written).
// The window's keys, written at close: WindowLeft, WindowTop, WindowWidth,
// WindowHeight, WindowMaximized, Splitter (the list's and the pages' widths).
// The Settings dialog writes RunMode, WebSite and TextZoom at once.
// The publisher's keys for the HTML pages, never written: AdClient and
// AdChannel (the advertising block is written only when both are set),
// CopyrightHolder (default Zentrivo) and HtmlRaw (1: values go into the
// pages unescaped, for records that hold markup on purpose).
#ifndef APPUTIL_H
#define APPUTIL_H

#include "CLHtmlTemplate.h"

#include <QList>
#include <QPoint>
#include <QSize>

#include <string>

// Fills AppSettings from the settings file; missing file, section or key give
// the defaults.
void LoadSettings();
// Writes every key back, creating the file and section when missing. A failure
// to write is not reported.
void SaveSettings();
// Reads WebSite from the settings file again (it is edited by hand, also while
// the program runs) into AppSettings and returns it.
std::string ReloadWebSite();
// The publisher's options for the HTML pages, read from the settings file
// now. An ad id that is not letters, digits, '-' and '_' is left out, and
// *pWhy (when given) says so.
CLHtmlOptions LoadHtmlOptions(std::string* pWhy = nullptr);
// The main window's place on the screen, as it was at the last close.
struct WindowGeometry
{
    bool bKnown = false; // the file holds one
    QPoint pos;
    QSize size;
    bool bMaximised = false;
    QList<int> splitter;
};
WindowGeometry LoadWindowGeometry();
void StoreWindowGeometry(const WindowGeometry& g);
// Writes WebSite (an http or https address, or empty for none).
void SaveWebSite(const std::string& site);
// The settings file's full path.
std::string GetSettingsFileName();

// The import file and HTML folder to offer: the remembered choice, else the
// default (the program folder's clcmd.txt and html/).
std::string GetImportFile();
std::string GetHtmlFolder();

#endif
