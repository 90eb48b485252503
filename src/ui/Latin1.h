// The core keeps text as single bytes; the windows show and store them as
// Latin-1, which maps every byte to one character and back.
#ifndef LATIN1_H
#define LATIN1_H

#include <QString>

class QPlainTextEdit;

#include <string>

QString FromLatin1(const char* sz);
QString FromLatin1(const std::string& s);
// Characters beyond Latin-1 become '?'.
std::string ToLatin1(const QString& s);

// A stored multi-line text (CR LF between lines) for a memo, and back.
QString MemoFromText(const char* sz);
// A memo's text as typed: every character kept (no-break spaces too), line
// breaks as LF.
QString MemoText(const QPlainTextEdit* memo);
// The memo's text with CR LF line ends, cut to at most nMax bytes without
// splitting a CR LF.
std::string TextFromMemo(const QString& text, size_t nMax);

#endif
