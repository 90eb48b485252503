#include "prompt.h"

#include "CLPartial.h"
#include "CLRecordUtil.h"
#include "CLWords.h"
#include "Latin1.h"
#include "WindowColours.h"
#include "ui_prompt.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace {

void AddUnique(std::vector<std::string>* pOut, const std::vector<std::string>& values)
{
    for (const std::string& v : values)
        if (std::find(pOut->begin(), pOut->end(), v) == pOut->end())
            pOut->push_back(v);
}

// The values a field offers: the special values first, then fixed ones.
std::vector<std::string> Offered(const CLPromptParam& p, size_t part)
{
    const std::vector<CLChoiceSet>& quals = p.Qualifiers();
    std::vector<std::string> values;
    if (quals.empty()) {
        values = p.specials;
        if (p.shape.bKnown && !p.shape.bElements)
            AddUnique(&values, p.shape.forms[0].value.literals);
        return values;
    }
    if (part == 0) {
        AddUnique(&values, p.shape.singles);
        AddUnique(&values, p.shape.forms[0].value.specials);
    }
    AddUnique(&values, quals[part].specials);
    AddUnique(&values, quals[part].literals);
    return values;
}

// The default of a field, where the record states one.
std::string DefaultOf(const CLPromptParam& p, size_t part)
{
    const std::vector<CLChoiceSet>& quals = p.Qualifiers();
    if (quals.empty())
        return p.shape.defaultValue;
    if (part == 0 && !p.shape.defaultValue.empty())
        return p.shape.defaultValue;
    return quals[part].defaultValue;
}

QString HintText(const CLPromptParam& p)
{
    QStringList lines;
    const std::vector<CLChoiceSet>& quals = p.Qualifiers();
    if (quals.empty()) {
        if (!p.shape.defaultValue.empty())
            lines << QStringLiteral("Default: %1").arg(FromLatin1(p.shape.defaultValue));
    } else {
        for (size_t i = 0; i < quals.size(); ++i)
            if (!DefaultOf(p, i).empty())
                lines << QStringLiteral("Default %1: %2")
                             .arg(FromLatin1(quals[i].label), FromLatin1(DefaultOf(p, i)));
    }
    lines << FromLatin1(p.choices);
    if (p.bPartialChoices)
        lines << FromLatin1(CLPartial::ChoicesNotice());
    return lines.join(QLatin1Char('\n'));
}

// What the dialog asks, and for a record listing only some parameters, that
// the rest may be typed into the string.
QString HintFor(const CLCmdRecord& rec)
{
    QString hint = QStringLiteral("Type or choose the values; fields marked with * are required.");
    const std::string notice = CLPartial::Notice(&rec);
    if (!notice.empty())
        hint += QLatin1Char('\n') + FromLatin1(notice);
    return hint;
}

QString Caption(const CLCmdRecord& rec)
{
    return QStringLiteral("%1 - %2").arg(FromLatin1(FieldText(rec.szName)),
                                         FromLatin1(FieldText(rec.szDesc)));
}

} // namespace

TfmPrompt::TfmPrompt(const CLCmdRecord& rec, QWidget* parent, RecordFinder finder)
    : QDialog(parent), ui(new Ui::TfmPrompt), m_prompt(rec), m_finder(std::move(finder))
{
    ui->setupUi(this);
    setSizeGripEnabled(true);
    setWindowTitle(QStringLiteral("Prompt: %1").arg(FromLatin1(m_prompt.Name())));
    ui->lblCommand->setText(Caption(rec));
    ui->lblHint->setText(HintFor(rec));
    ui->lblCommand->setWordWrap(true);
    ui->lblHint->setWordWrap(true);
    BuildForm();

    connect(ui->memString, &QPlainTextEdit::textChanged, this, [this] { UpdateForm(); });
    connect(ui->btnCopy, &QPushButton::clicked, this, [this] { btnCopyClick(); });
    connect(ui->btnClose, &QPushButton::clicked, this, [this] { done(0); });
    UpdateString();
    if (!m_rows.empty())
        m_rows.front().parts.front()->setFocus();
}

TfmPrompt::~TfmPrompt()
{
    delete ui;
}

void TfmPrompt::BuildForm()
{
    while (QLayoutItem* item = ui->layParams->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_rows.clear();
    const WindowColours colours = ColoursFor(palette());
    QWidget* previous = ui->scrParams;
    int row = 0;
    for (const CLPromptParam& p : m_prompt.Params()) {
        const QString keyword = FromLatin1(p.keyword);
        const QString desc = FromLatin1(p.desc.empty() ? p.keyword : p.desc);
        auto* label =
            new QLabel(desc + (p.bRequired ? QStringLiteral(" *") : QString()), ui->pnlParams);
        label->setWordWrap(true);
        if (p.bRequired) {
            QFont bold = label->font();
            bold.setBold(true);
            label->setFont(bold);
        }
        auto* kw = new QLabel(keyword, ui->pnlParams);

        Row r;
        auto* box = new QWidget(ui->pnlParams);
        auto* lay = new QGridLayout(box);
        lay->setContentsMargins(0, 0, 0, 0);
        const std::vector<CLChoiceSet>& quals = p.Qualifiers();
        const size_t nParts = quals.empty() ? 1 : quals.size();
        for (size_t i = 0; i < nParts; ++i) {
            auto* field = new QComboBox(box);
            field->setObjectName(QStringLiteral("cb") + keyword +
                                 (i ? QStringLiteral("_%1").arg(i + 1) : QString()));
            field->setEditable(true);
            field->setInsertPolicy(QComboBox::NoInsert);
            field->addItem(QString());
            for (const std::string& v : Offered(p, i))
                field->addItem(FromLatin1(v));
            field->setCurrentIndex(0);
            field->setMinimumWidth(nParts > 1 ? 160 : 220);
            field->lineEdit()->setPlaceholderText(FromLatin1(DefaultOf(p, i)));
            field->setToolTip(FromLatin1(p.choices + (p.note.empty() ? "" : " (" + p.note + ")")));
            QString access = desc + QStringLiteral(" (") + keyword + QStringLiteral(")");
            if (nParts > 1)
                access += QStringLiteral(", ") + FromLatin1(quals[i].label);
            field->setAccessibleName(access +
                                     (p.bRequired ? QStringLiteral(", required") : QString()));
            field->setAccessibleDescription(FromLatin1(p.choices));
            if (nParts > 1) {
                auto* part = new QLabel(FromLatin1(quals[i].label) + QLatin1Char(':'), box);
                part->setBuddy(field);
                lay->addWidget(part, static_cast<int>(i), 0);
            }
            lay->addWidget(field, static_cast<int>(i), 1);
            lay->setColumnStretch(1, 1);
            connect(field, &QComboBox::editTextChanged, this, [this] { UpdateString(); });
            setTabOrder(previous, field);
            previous = field;
            r.parts.push_back(field);
        }
        label->setBuddy(r.parts.front());

        r.hint = new QLabel(HintText(p), ui->pnlParams);
        r.hint->setObjectName(QStringLiteral("lblHint") + keyword);
        r.hint->setWordWrap(true);
        r.hint->setForegroundRole(QPalette::PlaceholderText);
        r.problem = new QLabel(ui->pnlParams);
        r.problem->setObjectName(QStringLiteral("lblProblem") + keyword);
        r.problem->setWordWrap(true);
        r.problem->setStyleSheet(QStringLiteral("color: %1;").arg(colours.problem.name()));
        r.problem->hide();

        ui->layParams->addWidget(label, row, 0, Qt::AlignTop);
        ui->layParams->addWidget(kw, row, 1, Qt::AlignTop);
        ui->layParams->addWidget(box, row, 2, Qt::AlignTop);
        ui->layParams->addWidget(r.hint, row, 3, Qt::AlignTop);
        ui->layParams->addWidget(r.problem, row + 1, 2, 1, 2);
        m_rows.push_back(r);
        row += 2;
    }
    m_lblUnlisted = new QLabel(ui->pnlParams);
    m_lblUnlisted->setObjectName(QStringLiteral("lblUnlisted"));
    m_lblUnlisted->setWordWrap(true);
    m_lblUnlisted->hide();
    ui->layParams->addWidget(m_lblUnlisted, row, 0, 1, 4);
    ui->layParams->setRowStretch(row + 1, 1);
    ui->layParams->setColumnStretch(0, 1);
    ui->layParams->setColumnStretch(2, 2);
    ui->layParams->setColumnStretch(3, 2);
    setTabOrder(previous, ui->memString);
}

QString TfmPrompt::CommandString() const
{
    return ui->memString->toPlainText();
}

void TfmPrompt::SetCommandString(const QString& text)
{
    ui->memString->setPlainText(text);
}

QStringList TfmPrompt::Problems() const
{
    QString text = ui->memProblems->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

const TfmPrompt::Row* TfmPrompt::RowOf(const QString& keyword) const
{
    const CLPromptParam* p = m_prompt.Find(ToLatin1(keyword));
    if (!p)
        return nullptr;
    return &m_rows[static_cast<size_t>(p - m_prompt.Params().data())];
}

QComboBox* TfmPrompt::ValueField(const QString& keyword, int part) const
{
    const Row* r = RowOf(keyword);
    if (!r || part < 0 || static_cast<size_t>(part) >= r->parts.size())
        return nullptr;
    return r->parts[static_cast<size_t>(part)];
}

QString TfmPrompt::Hint(const QString& keyword) const
{
    const Row* r = RowOf(keyword);
    return r ? r->hint->text() : QString();
}

QString TfmPrompt::FieldProblem(const QString& keyword) const
{
    const Row* r = RowOf(keyword);
    return r && !r->problem->isHidden() ? r->problem->text() : QString();
}

bool TfmPrompt::IsMarked(const QString& keyword) const
{
    const Row* r = RowOf(keyword);
    return r && r->parts.front()->property("problem").toBool();
}

QString TfmPrompt::Unlisted() const
{
    return m_lblUnlisted->isHidden() ? QString() : m_lblUnlisted->text();
}

std::string TfmPrompt::FieldValue(const Row& row) const
{
    // A qualified name from its parts, library first: LIB/OBJ, and a job's
    // NUMBER/USER/NAME. Parts left empty at the front are left out.
    std::vector<std::string> parts;
    for (QComboBox* field : row.parts)
        parts.push_back(ToLatin1(field->currentText().trimmed()));
    size_t last = parts.size();
    while (last > 0 && parts[last - 1].empty())
        --last;
    std::string value;
    for (size_t i = last; i-- > 0;)
        value += parts[i] + (i ? "/" : "");
    return value;
}

void TfmPrompt::SetFieldValue(const Row& row, const std::string& value)
{
    const size_t n = row.parts.size();
    std::vector<std::string> parts = CLWords::Parts(value);
    const bool bQualified = n > 1 && parts.size() > 1 && parts.size() <= n &&
                            value.find_first_of("'( ") == std::string::npos && value.front() != '/';
    for (size_t i = 0; i < n; ++i) {
        std::string text;
        if (!bQualified)
            text = i == 0 ? value : "";
        else if (i < parts.size())
            text = parts[parts.size() - 1 - i];
        row.parts[i]->setEditText(FromLatin1(text));
    }
}

void TfmPrompt::ShowProblems(const std::vector<CLPromptProblem>& problems)
{
    const QColor colour = ColoursFor(palette()).problem;
    QStringList lines;
    for (const CLPromptProblem& p : problems)
        lines << FromLatin1(p.text);
    ui->memProblems->setPlainText(lines.join(QLatin1Char('\n')));

    for (size_t i = 0; i < m_rows.size(); ++i) {
        QStringList mine;
        for (const CLPromptProblem& p : problems)
            if (p.keyword == m_prompt.Params()[i].keyword)
                mine << FromLatin1(p.text);
        const Row& r = m_rows[i];
        r.problem->setText(mine.join(QLatin1Char('\n')));
        r.problem->setVisible(!mine.isEmpty());
        for (QComboBox* field : r.parts) {
            field->setProperty("problem", !mine.isEmpty());
            field->setStyleSheet(
                mine.isEmpty()
                    ? QString()
                    : QStringLiteral("QComboBox { border: 2px solid %1; }").arg(colour.name()));
            field->setAccessibleDescription(mine.isEmpty()
                                                ? FromLatin1(m_prompt.Params()[i].choices)
                                                : mine.join(QLatin1Char(' ')));
        }
    }

    // Parameters the record does not list: kept, and shown.
    QStringList kept;
    for (const auto& [keyword, value] : m_unlisted)
        kept << FromLatin1(keyword + "(" + value + ")");
    m_lblUnlisted->setText(
        (m_prompt.IsPartial() ? QStringLiteral("Kept in the string, not listed in this reference: ")
                              : QStringLiteral("Kept in the string, but %1 has no such "
                                               "parameter: ")
                                    .arg(FromLatin1(m_prompt.Name()))) +
        kept.join(QLatin1Char(' ')));
    m_lblUnlisted->setStyleSheet(
        m_prompt.IsPartial() ? QString() : QStringLiteral("color: %1;").arg(colour.name()));
    m_lblUnlisted->setVisible(!kept.isEmpty());
}

void TfmPrompt::UpdateString()
{
    if (m_bUpdating)
        return;
    std::vector<std::pair<std::string, std::string>> values;
    for (size_t i = 0; i < m_rows.size(); ++i)
        values.emplace_back(m_prompt.Params()[i].keyword, FieldValue(m_rows[i]));
    values.insert(values.end(), m_unlisted.begin(), m_unlisted.end());
    std::vector<CLPromptProblem> problems;
    const std::string command = m_prompt.Build(values, &problems);
    m_bUpdating = true;
    ui->memString->setPlainText(FromLatin1(command));
    m_bUpdating = false;
    ShowProblems(problems);
}

bool TfmPrompt::Reprompt(const std::string& name, std::string* pWhy)
{
    const CLCmdRecord* pRec = m_finder ? m_finder(name) : nullptr;
    if (!pRec) {
        *pWhy = m_finder ? "CL command \"" + name + "\" is not in the reference."
                         : "The command is " + name + ", not " + m_prompt.Name() + ".";
        return false;
    }
    if (pRec->dwParamCount == 0) {
        *pWhy = "The reference holds no parameters of " + name + ".";
        return false;
    }
    m_prompt = CLPrompt(*pRec);
    setWindowTitle(QStringLiteral("Prompt: %1").arg(FromLatin1(m_prompt.Name())));
    ui->lblCommand->setText(Caption(*pRec));
    ui->lblHint->setText(HintFor(*pRec));
    m_bUpdating = true;
    BuildForm();
    m_bUpdating = false;
    return true;
}

void TfmPrompt::UpdateForm()
{
    if (m_bUpdating)
        return;
    const std::string text = ToLatin1(ui->memString->toPlainText());
    CLParsedCommand parsed;
    std::string why;
    if (!CLCommandString::Parse(text, &parsed, &why) ||
        (parsed.name != m_prompt.Name() && !Reprompt(parsed.name, &why))) {
        ShowProblems({{"", why}});
        return;
    }
    std::vector<CLGivenParam> given;
    std::vector<CLPromptProblem> problems;
    if (!m_prompt.Explain(text, &given, &problems, &why)) {
        ShowProblems({{"", why}});
        return;
    }
    m_bUpdating = true;
    for (const Row& r : m_rows)
        for (QComboBox* field : r.parts)
            field->setEditText(QString());
    m_unlisted.clear();
    for (const CLGivenParam& g : given) {
        if (g.bKnown) {
            if (const Row* r = RowOf(FromLatin1(g.keyword)))
                SetFieldValue(*r, g.value);
        } else if (!g.keyword.empty()) {
            m_unlisted.emplace_back(g.keyword, g.value);
        }
    }
    m_bUpdating = false;
    ShowProblems(problems);
}

void TfmPrompt::btnCopyClick()
{
    QApplication::clipboard()->setText(ui->memString->toPlainText().trimmed());
}
