#include "FolderLock.h"

#include "Latin1.h"
#include "MsgBox.h"

FolderWork::FolderWork(QWidget* parent) : m_pParent(parent)
{
    if (!m_lock.Acquire(3000)) {
        m_bDone = true;
        MsgBox::Error(parent, QStringLiteral("Another program is changing the files of the "
                                             "reference. Nothing was written; try again in a "
                                             "moment."));
        return;
    }
    m_oldHook =
        SetMessageHook([this](const std::string& text, const std::string& caption, CLMsgIcon icon) {
            m_kept.push_back({text, caption, icon});
        });
}

FolderWork::~FolderWork()
{
    Done();
}

void FolderWork::Done()
{
    if (m_bDone)
        return;
    m_bDone = true;
    m_lock.Release();
    SetMessageHook(m_oldHook);
    for (const Kept& k : m_kept)
        MsgBox::Show(m_pParent, FromLatin1(k.text), FromLatin1(k.caption), k.icon);
    m_kept.clear();
}
