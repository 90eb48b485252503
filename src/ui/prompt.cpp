#include "prompt.h"

#include "CLRecordUtil.h"
#include "Latin1.h"
#include "ui_prompt.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

TfmPrompt::TfmPrompt(const CLCmdRecord& rec, QWidget* parent)
    : QDialog(parent), ui(new Ui::TfmPrompt), m_prompt(rec)
{
    ui->setupUi(this);
    const QString name = FromLatin1(m_prompt.Name());
    setWindowTitle(QStringLiteral("Prompt: %1").arg(name));
    ui->lblCommand->setText(QStringLiteral("%1 - %2").arg(name, FromLatin1(FieldText(rec.szDesc))));

    QWidget* previous = ui->scrParams;
    int row = 0;
    for (const CLPromptParam& p : m_prompt.Params()) {
        const QString keyword = FromLatin1(p.keyword);
        QString desc = FromLatin1(p.desc.empty() ? p.keyword : p.desc);
        auto* label =
            new QLabel(desc + (p.bRequired ? QStringLiteral(" *") : QString()), ui->pnlParams);
        auto* kw = new QLabel(keyword, ui->pnlParams);
        auto* field = new QComboBox(ui->pnlParams);
        field->setObjectName(QStringLiteral("cb") + keyword);
        field->setEditable(true);
        field->setInsertPolicy(QComboBox::NoInsert);
        field->addItem(QString());
        for (const std::string& v : p.specials)
            field->addItem(FromLatin1(v));
        field->setCurrentIndex(0);
        field->setMinimumWidth(220);
        field->setToolTip(FromLatin1(p.choices + (p.note.empty() ? "" : " (" + p.note + ")")));
        field->setAccessibleName(desc + QStringLiteral(" (") + keyword + QStringLiteral(")") +
                                 (p.bRequired ? QStringLiteral(", required") : QString()));
        field->setAccessibleDescription(FromLatin1(p.choices));
        label->setBuddy(field);
        if (p.bRequired) {
            QFont bold = label->font();
            bold.setBold(true);
            label->setFont(bold);
        }
        ui->layParams->addWidget(label, row, 0);
        ui->layParams->addWidget(kw, row, 1);
        ui->layParams->addWidget(field, row, 2);
        connect(field, &QComboBox::editTextChanged, this, [this] { UpdateString(); });
        setTabOrder(previous, field);
        previous = field;
        m_fields.push_back(field);
        ++row;
    }
    ui->layParams->setRowStretch(row, 1);
    ui->layParams->setColumnStretch(2, 1);
    setTabOrder(previous, ui->memString);

    connect(ui->memString, &QPlainTextEdit::textChanged, this, [this] { UpdateForm(); });
    connect(ui->btnCopy, &QPushButton::clicked, this, [this] { btnCopyClick(); });
    connect(ui->btnClose, &QPushButton::clicked, this, [this] { done(0); });
    UpdateString();
    if (!m_fields.empty())
        m_fields.front()->setFocus();
}

TfmPrompt::~TfmPrompt()
{
    delete ui;
}

QString TfmPrompt::CommandString() const
{
    return ui->memString->toPlainText();
}

QStringList TfmPrompt::Problems() const
{
    QString text = ui->memProblems->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

QComboBox* TfmPrompt::ValueField(const QString& keyword) const
{
    const CLPromptParam* p = m_prompt.Find(ToLatin1(keyword));
    if (!p)
        return nullptr;
    return m_fields[static_cast<size_t>(p - m_prompt.Params().data())];
}

void TfmPrompt::ShowProblems(const std::vector<CLPromptProblem>& problems)
{
    QStringList lines;
    for (const CLPromptProblem& p : problems)
        lines << FromLatin1(p.text);
    ui->memProblems->setPlainText(lines.join(QLatin1Char('\n')));
}

void TfmPrompt::UpdateString()
{
    if (m_bUpdating)
        return;
    std::vector<std::pair<std::string, std::string>> values;
    for (size_t i = 0; i < m_fields.size(); ++i)
        values.emplace_back(m_prompt.Params()[i].keyword, ToLatin1(m_fields[i]->currentText()));
    std::vector<CLPromptProblem> problems;
    const std::string command = m_prompt.Build(values, &problems);
    m_bUpdating = true;
    ui->memString->setPlainText(FromLatin1(command));
    m_bUpdating = false;
    ShowProblems(problems);
}

void TfmPrompt::UpdateForm()
{
    if (m_bUpdating)
        return;
    std::vector<CLGivenParam> given;
    std::vector<CLPromptProblem> problems;
    std::string why;
    if (!m_prompt.Explain(ToLatin1(ui->memString->toPlainText()), &given, &problems, &why)) {
        ShowProblems({{"", why}});
        return;
    }
    m_bUpdating = true;
    for (QComboBox* field : m_fields)
        field->setEditText(QString());
    for (const CLGivenParam& g : given)
        if (g.bKnown)
            if (QComboBox* field = ValueField(FromLatin1(g.keyword)))
                field->setEditText(FromLatin1(g.value));
    m_bUpdating = false;
    ShowProblems(problems);
}

void TfmPrompt::btnCopyClick()
{
    QApplication::clipboard()->setText(ui->memString->toPlainText().trimmed());
}
