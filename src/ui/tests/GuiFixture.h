// Test support for the windows: a program folder with a database built
// through the core, and the seams (message boxes, choosers, dialogs, the
// desktop's open) answered and recorded instead of blocking.
#ifndef GUIFIXTURE_H
#define GUIFIXTURE_H

#include "RecordMaker.h"
#include "TestHome.h"
#include "main.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAbstractItemView;
class QDialog;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTreeWidget;

struct CommandSpec
{
    std::string name;
    uint32_t cat = 1;
    std::string desc = {};
    std::vector<ParamSpec> params = {};
    std::vector<ErrorSpec> errors = {};
    std::string detail = {};
    std::string example = {};
    std::string reserved = {}; // the partial marks
};

struct ShownMessage
{
    QString text;
    QString caption;
    bool bError;
    bool bLockFree = true; // another program could take the folder's lock meanwhile
};

// Whether the program folder's lock is free (another program could take it now).
bool FolderLockFree();

class GuiFixture
{
public:
    GuiFixture();
    ~GuiFixture();

    TestHome home;

    // --- the database ------------------------------------------------------
    void AddCategory(uint32_t id, const std::string& name, const std::string& file = "");
    // Saves the command's record to data/ and adds it to the index.
    void AddCommand(const CommandSpec& command);
    // Writes clcat.dat and cldict.dat, and joins clcmd.dat.
    void WriteDatabase();
    void WriteSettings(int runMode, int lastCat = 0, const std::string& lastCmd = "");
    std::string Settings() const;

    // --- the window -------------------------------------------------------
    TfmMain* Open(); // starts the main window (FormCreate runs)
    void Close();    // destroys it (FormDestroy runs)
    TfmMain* window() const { return m_window.get(); }
    template <class T> T* Find(const char* name) const;

    QStringList ListItems() const; // the texts of lbCommand
    int SelectedListRow() const;   // -1 when none
    QString Shown() const;         // edtName's text
    void PickCategory(int index);  // as the user picks in cbCate
    void ClickListRow(int row);    // as the user clicks in lbCommand
    QStringList Rows(const char* view, int column = 0) const;
    void SelectRow(const char* view, int row);

    // --- the seams --------------------------------------------------------
    std::vector<ShownMessage> messages;
    QStringList MessageTexts() const;
    QStringList opened;                                      // what went to the desktop's open
    QStringList chooserAnswers;                              // next answers of the file choosers
    std::vector<std::function<int(QDialog*)>> dialogAnswers; // next answers of dialogs
    int dialogsShown = 0;
    // The questions asked ("Zentrivo Question") and the next answers to them; a
    // question without an answer fails the test.
    struct Question
    {
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
        QMessageBox::StandardButton escapeButton;
        bool bLockFree = true;
    };
    std::vector<Question> questions;
    std::vector<QMessageBox::StandardButton> answers;

private:
    std::unique_ptr<CLCmdManager> m_db;
    std::unique_ptr<TfmMain> m_window;
};

template <class T> T* GuiFixture::Find(const char* name) const
{
    return m_window ? m_window->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

// Fills a dialog's edit or memo.
void SetText(QDialog* dialog, const char* name, const QString& text);
QString TextOf(QDialog* dialog, const char* name);
void Click(QDialog* dialog, const char* button);

#endif
