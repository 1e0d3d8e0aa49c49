#include "Flabeleditor.h"

#include "labeljob.h"

#include "app/programcontext.h"
#include "logstore/Ftext.h"
#include "logstore/paths.h"
#include "print/Fpaintsurface.h"
#include "print/Fprintdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vellum {

namespace {

struct LengthField {
    const char *name;
    const char *caption;
    LeF64 LabelLayout::*member;
};
const std::array<LengthField, 10> LengthFields = {{
    {"LabelWidth", "Label width", &LabelLayout::LabelWidth},
    {"LabelHeight", "Label height", &LabelLayout::LabelHeight},
    {"HorzPitch", "Horz pitch", &LabelLayout::SpacingWidth},
    {"VertPitch", "Vert pitch", &LabelLayout::SpacingHeight},
    {"SpacingLeft", "Spacing left", &LabelLayout::SpacingLeft},
    {"SpacingTop", "Spacing top", &LabelLayout::SpacingTop},
    {"PageHeight", "Page height", &LabelLayout::PageHeight},
    {"PageWidth", "Page width", &LabelLayout::PageWidth},
    {"HorzShift", "Horz shift", &LabelLayout::RightShift},
    {"VertShift", "Vert shift", &LabelLayout::DownShift},
}};

double unitFactor(bool metric) { return metric ? MmPerInch : 1.0; }

QSpinBox *spin(QWidget *parent, const char *name, int high)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(0, high);
    return box;
}

QCheckBox *check(QWidget *parent, const char *name, const char *caption)
{
    auto *box = new QCheckBox(QString::fromLatin1(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

} // namespace

TLabelEditor::TLabelEditor(ProgramContext &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_kept(context.Config())
{
    setObjectName(QStringLiteral("LabelEditor"));
    setWindowTitle(QStringLiteral("Label Editor"));
    buildControls();
    LabelFileContents file = ReadLabelFile(DataFileName(DataFile::Labels));
    m_labels = LabelList(context.Config(), file.layouts);
    for (const LabelChoice &choice : m_labels)
        m_name->addItem(ScreenText(choice.name));
    const TConfigRecord &config = context.Config();
    m_headFont->setText(ScreenText(config.LABHEAD.Name.view()));
    m_bodyFont->setText(ScreenText(config.LABBODY.Name.view()));
    m_maxQsos->setValue(config.F_LabMaxQSOs);
    m_useLines->setChecked(config.F_LabUseLines);
    m_commercial->setChecked(config.F_Commercial);
    m_rightAligned->setChecked(config.F_LabCallRightAlgn);
    showLabel(CurrentLabelIndex(config, m_labels.size()));
    connect(m_name, &QComboBox::activated, this, [this](int index) { ChooseLabel(index); });
    connect(m_units, &QComboBox::activated, this, [this](int index) { SetUnits(index == 1); });
    connect(m_paper, &QLineEdit::textChanged, this, [this] { updatePageFields(); });
}

void TLabelEditor::buildControls()
{
    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    m_name = new QComboBox(this);
    m_name->setObjectName(QStringLiteral("LabelName"));
    grid->addWidget(new QLabel(QStringLiteral("Label name"), this), 0, 0);
    grid->addWidget(m_name, 0, 1);
    for (std::size_t i = 0; i < LengthFields.size(); ++i) {
        auto *caption = new QLabel(QString::fromLatin1(LengthFields[i].caption), this);
        m_lengths[i] = new QLineEdit(this);
        m_lengths[i]->setObjectName(QString::fromLatin1(LengthFields[i].name));
        int row = 1 + static_cast<int>(i) / 2, column = (static_cast<int>(i) % 2) * 2;
        grid->addWidget(caption, row, column);
        grid->addWidget(m_lengths[i], row, column + 1);
        if (i == PageHeight || i == PageWidth)
            m_pageCaptions[i == PageHeight ? 0 : 1] = caption;
    }
    m_down = spin(this, "NrDown", 255);
    m_across = spin(this, "NrAcross", 255);
    m_paper = new QLineEdit(this);
    m_paper->setObjectName(QStringLiteral("PaperSize"));
    m_paper->setMaxLength(20);
    m_units = new QComboBox(this);
    m_units->setObjectName(QStringLiteral("Units"));
    m_units->addItems({QStringLiteral("Inch"), QStringLiteral("mm")});
    m_portrait = check(this, "Portrait", "Portrait");
    m_headFont = new QLineEdit(this);
    m_headFont->setObjectName(QStringLiteral("CallsignFont"));
    m_bodyFont = new QLineEdit(this);
    m_bodyFont->setObjectName(QStringLiteral("BodyFont"));
    for (QLineEdit *font : {m_headFont, m_bodyFont}) {
        font->setReadOnly(true);
        font->setToolTip(QStringLiteral("Double click to change font"));
        font->installEventFilter(this);
    }
    m_maxQsos = spin(this, "MaxQSOs", 255);
    const std::pair<const char *, QWidget *> more[] = {
        {"Nr down", m_down},        {"Nr across", m_across}, {"Paper size", m_paper},    {"Units", m_units},
        {"Callsign font", m_headFont}, {"Body font", m_bodyFont}, {"Max QSOs", m_maxQsos}};
    const int firstRow = 1 + static_cast<int>(LengthFields.size()) / 2;
    int at = 0;
    for (const auto &[caption, widget] : more) {
        grid->addWidget(new QLabel(QString::fromLatin1(caption), this), firstRow + at / 2, (at % 2) * 2);
        grid->addWidget(widget, firstRow + at / 2, (at % 2) * 2 + 1);
        ++at;
    }
    grid->addWidget(m_portrait, firstRow + at / 2, (at % 2) * 2 + 1);
    layout->addLayout(grid);
    auto *options = new QGroupBox(QStringLiteral("Options"), this);
    auto *optionRow = new QHBoxLayout(options);
    m_useLines = check(options, "UseLines", "Use lines");
    m_commercial = check(options, "Commercial", "Commercial");
    m_rightAligned = check(options, "CallRightAligned", "Call right aligned");
    for (QCheckBox *box : {m_useLines, m_commercial, m_rightAligned})
        optionRow->addWidget(box);
    layout->addWidget(options);
    auto *buttons = new QHBoxLayout;
    const std::pair<const char *, std::function<void()>> actions[] = {
        {"Copy", [this] { Copy(); }},
        {"Preview", [this] { Preview(); }},
        {"OK", [this] { accept(); }},
        {"Cancel", [this] { reject(); }}};
    for (const auto &[name, action] : actions) {
        auto *b = new QPushButton(QString::fromLatin1(name), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, action);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
}

LabelLayout *TLabelEditor::shownCustom()
{
    if (m_shown < 0 || static_cast<std::size_t>(m_shown) >= m_labels.size())
        return nullptr;
    int custom = m_labels[static_cast<std::size_t>(m_shown)].custom;
    return custom ? &m_context.Config().CustLab[static_cast<std::size_t>(custom - 1)] : nullptr;
}

void TLabelEditor::showLabel(int index)
{
    m_shown = index;
    m_name->setCurrentIndex(index);
    LabelLayout *custom = shownCustom();
    const LabelLayout &layout = custom ? *custom : m_labels[static_cast<std::size_t>(index)].layout;
    const double factor = unitFactor(layout.Metric);
    for (std::size_t i = 0; i < LengthFields.size(); ++i) {
        m_lengths[i]->setText(QString::number(layout.*(LengthFields[i].member) * factor, 'f', 4));
        m_lengths[i]->setReadOnly(!custom);
    }
    m_down->setValue(layout.NumDown);
    m_across->setValue(layout.NumAcross);
    m_paper->setText(ScreenText(layout.PaperName.view()));
    m_units->setCurrentIndex(layout.Metric ? 1 : 0);
    m_portrait->setChecked(layout.Portrait);
    for (QWidget *w : std::initializer_list<QWidget *>{m_down, m_across, m_paper, m_units, m_portrait})
        w->setEnabled(custom != nullptr);
    updatePageFields();
}

void TLabelEditor::updatePageFields()
{
    bool custom = IsCustomPaperName(CoreText(m_paper->text()));
    for (QWidget *w : {static_cast<QWidget *>(m_lengths[PageHeight]), static_cast<QWidget *>(m_lengths[PageWidth]),
                       static_cast<QWidget *>(m_pageCaptions[0]), static_cast<QWidget *>(m_pageCaptions[1])})
        w->setVisible(custom);
}

void TLabelEditor::storeShown()
{
    LabelLayout *layout = shownCustom();
    if (!layout)
        return;
    const double factor = unitFactor(layout->Metric);
    const bool customPaper = IsCustomPaperName(CoreText(m_paper->text()));
    for (std::size_t i = 0; i < LengthFields.size(); ++i) {
        if ((i == PageHeight || i == PageWidth) && !customPaper)
            continue;
        bool ok = false;
        double value = m_lengths[i]->text().toDouble(&ok);
        if (ok && std::isfinite(value))
            layout->*(LengthFields[i].member) = value / factor;
    }
    layout->NumDown = static_cast<std::uint8_t>(m_down->value());
    layout->NumAcross = static_cast<std::uint8_t>(m_across->value());
    layout->PaperName = CoreText(m_paper->text()).substr(0, 20);
    layout->Portrait = m_portrait->isChecked();
    m_labels[static_cast<std::size_t>(m_shown)].layout = *layout;
}

void TLabelEditor::ChooseLabel(int index)
{
    storeShown();
    showLabel(index);
}

void TLabelEditor::SetUnits(bool metric)
{
    LabelLayout *layout = shownCustom();
    if (!layout)
        return;
    storeShown();
    layout->Metric = metric;
    showLabel(m_shown);
}

void TLabelEditor::Copy()
{
    storeShown();
    LabelLayout copy = m_labels[static_cast<std::size_t>(m_shown)].layout;
    if (LabelLayout *custom = shownCustom())
        copy = *custom;
    const int target = m_shown == 0 ? 1 : 0;
    m_context.Config().CustLab[static_cast<std::size_t>(target)] = copy;
    m_labels[static_cast<std::size_t>(target)].layout = copy;
    showLabel(target);
}

void TLabelEditor::storeOptions()
{
    storeShown();
    TConfigRecord &config = m_context.Config();
    config.F_CurrentLabel = m_shown;
    config.F_LabMaxQSOs = static_cast<std::uint8_t>(m_maxQsos->value());
    config.F_LabUseLines = m_useLines->isChecked();
    config.F_LabCallRightAlgn = m_rightAligned->isChecked();
    config.F_Commercial = m_commercial->isChecked();
}

void TLabelEditor::chooseFont(TLabelFont &font, QLineEdit *field)
{
    QFont preset(ScreenText(font.Name.view()), font.Size > 0 ? font.Size : 10);
    preset.setBold(font.Bold);
    preset.setItalic(font.Italic);
    bool chosen = false;
    QFont picked = QFontDialog::getFont(&chosen, preset, this);
    if (!chosen)
        return;
    font.Name = CoreText(picked.family()).substr(0, 40);
    font.Size = static_cast<std::uint8_t>(std::clamp(std::abs(picked.pointSize()), 1, 255));
    font.Bold = picked.bold();
    font.Italic = picked.italic();
    field->setText(picked.family());
}

bool TLabelEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick && (watched == m_headFont || watched == m_bodyFont)) {
        TConfigRecord &config = m_context.Config();
        chooseFont(watched == m_headFont ? config.LABHEAD : config.LABBODY, static_cast<QLineEdit *>(watched));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TLabelEditor::Preview()
{
    storeOptions();
    const LabelLayout layout = m_labels[static_cast<std::size_t>(m_shown)].layout;
    PrintSetupChoice preview;
    preview.destination = PrintDestination::Preview;
    TablePrintResult output = RunSurfacePrint(
        this, preview, "Label sample", PaperOf(layout),
        [&](PrintSurface &surface, JobMonitor *monitor) {
            PrintEngine engine(surface, {}, monitor);
            TMyLabPr printer(engine, LabelKind::Qsl, LabelOptionsFrom(m_context.Config()), layout);
            LabelJobResult sample = RunLabelSample(printer);
            TablePrintResult result;
            result.pages = sample.pages;
            result.message = sample.problem;
            if (!sample.problem.empty())
                result.status = TablePrintResult::Status::Rejected;
            return result;
        },
        m_context.Notifier());
    if (!output.Ok() && !output.message.empty())
        m_context.Notifier().error(output.message);
}

void TLabelEditor::accept()
{
    storeOptions();
    QDialog::accept();
}

void TLabelEditor::reject()
{
    m_context.Config() = m_kept;
    QDialog::reject();
}

} // namespace vellum
