#include "Fprintlabels.h"

#include "Flabeleditor.h"
#include "labeljob.h"

#include "app/programcontext.h"
#include "logstore/Ftext.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"
#include "logstore/qsotables.h"
#include "print/Fpaintsurface.h"
#include "print/Fprintdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vellum {

namespace {

QPushButton *button(QWidget *parent, const char *name, const QString &caption, QLayout *into)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    into->addWidget(b);
    return b;
}

QCheckBox *check(QWidget *parent, const char *name, const QString &caption, bool checked)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(checked);
    return box;
}

/// The QSL methods 1..6 by name.
void addMethods(QComboBox *combo)
{
    for (std::size_t m = 1; m < QslMethodNames.size(); ++m)
        combo->addItem(QString::fromLatin1(QslMethodNames[m]), static_cast<int>(m));
}

} // namespace

TPrintLabelsDialog::TPrintLabelsDialog(ProgramContext &context, TQsoData &log, LabelKind kind, QWidget *parent)
    : QDialog(parent), m_context(context), m_log(log), m_kind(kind), m_list(log, context.Resolver())
{
    setObjectName(QStringLiteral("PrintLabelsDialog"));
    setWindowTitle(QStringLiteral("Print QSL labels"));
    buildControls();
    fillLabelList();
    collect();
}

void TPrintLabelsDialog::buildControls()
{
    const TConfigRecord &config = m_context.Config();
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    m_label = new QComboBox(this);
    m_label->setObjectName(QStringLiteral("CurrentLabel"));
    form->addRow(QStringLiteral("Current label"), m_label);
    m_missing = new QSpinBox(this);
    m_missing->setObjectName(QStringLiteral("Missing"));
    m_missing->setRange(0, 255);
    form->addRow(QStringLiteral("Missing"), m_missing);
    m_method = new QComboBox(this);
    m_method->setObjectName(QStringLiteral("QslMethod"));
    m_method->addItem(QStringLiteral("ALL"), QslMethodNr::All);
    addMethods(m_method);
    form->addRow(QStringLiteral("QSL method"), m_method);
    layout->addLayout(form);
    m_managers = check(this, "PrintQSLMgr", QStringLiteral("Print QSL Managers"), config.F_PrintQSLMgr);
    m_methodLabels = check(this, "PrintMethod", QStringLiteral("Print Method Labels"), config.F_PrintMethod);
    m_groups = check(this, "PrintGroup", QStringLiteral("Print Group Names"), config.F_PrintGroup);
    for (QCheckBox *box : {m_managers, m_methodLabels, m_groups})
        layout->addWidget(box);
    auto *noBuro = new QGroupBox(QStringLiteral("QSOs to countries without buro"), this);
    auto *noBuroForm = new QFormLayout(noBuro);
    m_count = new QLabel(noBuro);
    m_count->setObjectName(QStringLiteral("NoBuroCount"));
    noBuroForm->addRow(QStringLiteral("Count"), m_count);
    m_alternate = new QComboBox(noBuro);
    m_alternate->setObjectName(QStringLiteral("AlternateMethod"));
    addMethods(m_alternate);
    m_alternate->setCurrentIndex(m_alternate->findData(QslMethodNr::Buro));
    noBuroForm->addRow(QStringLiteral("Alternate QSL method"), m_alternate);
    layout->addWidget(noBuro);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("Status"));
    m_status->setFrameShape(QFrame::Panel);
    layout->addWidget(m_status);
    auto *buttons = new QHBoxLayout;
    m_buttons = {button(this, "Print", QStringLiteral("Print"), buttons), button(this, "Edit", QStringLiteral("Edit"), buttons),
                 button(this, "MarkAll", QStringLiteral("Mark All"), buttons),
                 button(this, "Close", QStringLiteral("Close"), buttons)};
    layout->addLayout(buttons);
    connect(m_buttons[0], &QPushButton::clicked, this, [this] { Print(); });
    connect(m_buttons[1], &QPushButton::clicked, this, [this] { Edit(); });
    connect(m_buttons[2], &QPushButton::clicked, this, [this] { MarkAll(); });
    connect(m_buttons[3], &QPushButton::clicked, this, [this] {
        storeOptions();
        reject();
    });
    for (QComboBox *combo : {m_method, m_alternate})
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { collect(); });
    connect(m_managers, &QCheckBox::toggled, this, [this] { collect(); });
}

void TPrintLabelsDialog::fillLabelList()
{
    LabelFileContents file = ReadLabelFile(DataFileName(DataFile::Labels));
    if (!file.error.empty())
        m_context.Notifier().warning(file.error);
    m_labels = LabelList(m_context.Config(), file.layouts);
    QSignalBlocker block(m_label);
    m_label->clear();
    for (const LabelChoice &choice : m_labels)
        m_label->addItem(ScreenText(choice.name));
    m_label->setCurrentIndex(CurrentLabelIndex(m_context.Config(), m_labels.size()));
}

void TPrintLabelsDialog::collect()
{
    PrintListSettings settings;
    settings.kind = m_kind;
    settings.method = m_method->currentData().toInt();
    settings.useManagers = m_managers->isChecked() && m_kind != LabelKind::Swl;
    settings.printGroups = m_groups->isChecked();
    settings.alternateMethod = m_alternate->currentData().toInt();
    m_list.Collect(settings);
    m_count->setText(QString::number(m_list.NoBuroCount()));
    m_status->setText(ScreenText(m_list.StatusText()));
}

void TPrintLabelsDialog::storeOptions()
{
    TConfigRecord &config = m_context.Config();
    config.F_PrintQSLMgr = m_managers->isChecked();
    config.F_PrintMethod = m_methodLabels->isChecked();
    config.F_PrintGroup = m_groups->isChecked();
    config.F_CurrentLabel = std::max(0, m_label->currentIndex());
}

LabelLayout TPrintLabelsDialog::chosenLayout() const
{
    int index = m_label->currentIndex();
    return index >= 0 && static_cast<std::size_t>(index) < m_labels.size() ? m_labels[static_cast<std::size_t>(index)].layout
                                                                           : LabelLayout{};
}

void TPrintLabelsDialog::setButtonsEnabled(bool enabled)
{
    for (QPushButton *b : m_buttons)
        b->setEnabled(enabled);
}

bool TPrintLabelsDialog::Print()
{
    setButtonsEnabled(false);
    storeOptions();
    LabelJobSetup setup;
    setup.kind = m_kind;
    setup.options = LabelOptionsFrom(m_context.Config());
    setup.layout = chosenLayout();
    PrintSetupChoice choice;
    bool printed = false;
    if (AskPrintSetup(this, choice)) {
        setup.missing = m_missing->value();
        setup.pages = choice.pages;
        if (m_kind != LabelKind::Swl)
            m_list.ApplyAlternateMethod();
        m_list.Sort();
        LabelJobResult job;
        TablePrintResult output = RunSurfacePrint(
            this, choice, "QSL labels", PaperOf(setup.layout),
            [&](PrintSurface &surface, JobMonitor *monitor) {
                setup.monitor = monitor;
                job = PrintLabelRun(surface, m_list.Items(), setup, LookupsOf(m_log, &m_context.Countries()));
                TablePrintResult result;
                result.pages = job.pages;
                result.message = job.problem;
                if (job.aborted)
                    result.status = TablePrintResult::Status::Aborted;
                else if (!job.problem.empty())
                    result.status = TablePrintResult::Status::Rejected;
                return result;
            },
            m_context.Notifier());
        printed = output.Ok();
        if (!output.message.empty() && !printed)
            m_context.Notifier().error(output.message);
        if (printed && choice.destination != PrintDestination::Preview)
            MarkPrinted(m_list.Items(), job);
        if (job.aborted) {
            setButtonsEnabled(true);
            reject();
            return false;
        }
    }
    setButtonsEnabled(true);
    return printed;
}

void TPrintLabelsDialog::Edit()
{
    storeOptions();
    TLabelEditor editor(m_context, this);
    if (editor.exec() == QDialog::Accepted)
        fillLabelList();
}

void TPrintLabelsDialog::MarkAll()
{
    if (m_kind != LabelKind::Swl)
        m_list.ApplyAlternateMethod();
    m_list.MarkAll();
    accept();
}

} // namespace vellum
