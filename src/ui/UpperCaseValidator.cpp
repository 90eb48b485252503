#include "UpperCaseValidator.h"

QString UpperCaseValidator::ToUpper(const QString& s)
{
    QString out(s);
    for (QChar& c : out) {
        char16_t u = c.unicode();
        if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7))
            c = QChar(static_cast<char16_t>(u - 0x20));
    }
    return out;
}

QValidator::State UpperCaseValidator::validate(QString& input, int& pos) const
{
    Q_UNUSED(pos);
    input = ToUpper(input);
    return Acceptable;
}
