// Turns typed letters to upper case, as the command name and search edits do.
// Only letters whose upper case is also a Latin-1 letter change, so the text
// keeps its length and stays storable.
#ifndef UPPERCASEVALIDATOR_H
#define UPPERCASEVALIDATOR_H

#include <QValidator>

class UpperCaseValidator : public QValidator
{
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
    static QString ToUpper(const QString& s);
};

#endif
