// AuthoringActions: what an author does to the reference from the main
// window in the editing run modes: add, delete, save and rename commands,
// edit the categories, import a text list or IBM i command definitions,
// build the joined file and publish the HTML pages. Every writer holds the
// folder's lock only while it writes (FolderWork), never while a question or
// message is open, and asks first where work would otherwise be lost. In the
// reading run mode none of them does anything.
#ifndef AUTHORINGACTIONS_H
#define AUTHORINGACTIONS_H

#include <QObject>

#include <string>

class TfmMain;

class AuthoringActions : public QObject
{
    Q_OBJECT
public:
    explicit AuthoringActions(TfmMain* window);

    void AddCommand();
    // Asks "Delete CL Command "NAME"?" about the command shown, then deletes it.
    void DeleteCommand();
    void EditCategories();
    // Analyze File: a text list replaces the categories and the index.
    void AnalyzeFile();
    void BuildDataFile();
    void ImportDefinitions();
    void CreateHtml();
    void CreateAllHtml();

    // Saves the shown command's record, stored from the pages, under name
    // (a new name renames it); false after saying why.
    bool SaveShown(const std::string& name);
    // Saves the index and the categories when they changed; false after saying why.
    bool SaveLists();

private:
    bool IsReader() const;
    // Gives the HTML writer the publisher's settings of tarvexa.ini.
    void ApplyHtmlOptions();

    TfmMain* m_pWindow;
};

#endif
