// LspDocument: one open CL source member as the server holds it: its text
// (UTF-8), read into statements and a program, and the conversion between
// the reader's byte positions and the protocol's UTF-16 positions.
#ifndef LSPDOCUMENT_H
#define LSPDOCUMENT_H

#include "CLProgram.h"
#include "CLSource.h"

#include <QJsonObject>
#include <QString>

#include <string>
#include <vector>

class LspDocument
{
public:
    void SetText(const QString& text);
    // An incremental change: the text between range's start and end is
    // replaced. False when the range lies outside the document.
    bool Replace(const QJsonObject& range, const QString& text);

    const std::string& Text() const { return m_text; }
    const CLSource& Source() const { return m_source; }
    const CLProgram& Program() const { return m_program; }
    // The line end to write: CR LF when the member's first line has one.
    QString LineEnd() const
    {
        return m_source.bCrLf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    }

    // Protocol positions ({line, character} in UTF-16 units) and ranges.
    QJsonObject Position(const CLSrcPos& pos) const;
    QJsonObject Range(const CLSrcPos& begin, const CLSrcPos& end) const;
    CLSrcPos FromPosition(const QJsonObject& position) const;
    // The range of whole lines first..last (to the end of the last).
    QJsonObject LinesRange(int first, int last) const;

    int version = 0;

private:
    void Reread();
    size_t Offset(const CLSrcPos& pos) const; // byte offset in m_text, clamped

    std::string m_text;
    std::vector<size_t> m_lineStarts;
    CLSource m_source;
    CLProgram m_program;
};

#endif
