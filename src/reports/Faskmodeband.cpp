#include "Faskmodeband.h"

#include "awards/awardstatus.h"
#include "logstore/qsotables.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace vellum {

namespace {

std::function<std::optional<ModeBandChoice>()> &modeBandAsker()
{
    static std::function<std::optional<ModeBandChoice>()> asker;
    return asker;
}

QListWidget *checkList(QWidget *parent, const char *name, const QStringList &entries)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    for (const QString &entry : entries) {
        auto *item = new QListWidgetItem(entry, list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    list->setFont(QFont(QStringLiteral("Monospace")));
    return list;
}

} // namespace

TGetReportMode::TGetReportMode(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Select Band/Mode"));
    QStringList modes = {QStringLiteral("ALL")};
    for (int group = 1; group <= 3; ++group)
        modes << QString::fromLatin1(ModeGroupNames[static_cast<std::size_t>(group)]);
    QStringList bands = {QStringLiteral("  ALL")};
    for (int band = 1; band <= 15; ++band)
        bands << QString::fromLatin1(BandTable[static_cast<std::size_t>(band)].name).rightJustified(5);
    m_modes = checkList(this, "GetReportMode_Mode", modes);
    m_bands = checkList(this, "GetReportMode_Band", bands);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("GetReportMode_OK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("GetReportMode_Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Mode"), this), 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Band"), this), 0, 1);
    layout->addWidget(m_modes, 1, 0);
    layout->addWidget(m_bands, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    showChoice();
    connect(m_modes, &QListWidget::itemChanged, this, &TGetReportMode::itemChanged);
    connect(m_bands, &QListWidget::itemChanged, this, &TGetReportMode::itemChanged);
}

void TGetReportMode::CheckGroup(int group)
{
    m_choice.ChooseGroup(group);
    showChoice();
}

void TGetReportMode::CheckBand(int band)
{
    m_choice.ChooseBand(band);
    showChoice();
}

void TGetReportMode::itemChanged(QListWidgetItem *item)
{
    if (m_updating)
        return;
    // A click on the checked entry leaves it checked: exactly one is checked in each list.
    if (item->listWidget() == m_modes)
        CheckGroup(item->checkState() == Qt::Checked ? m_modes->row(item) : m_choice.group);
    else
        CheckBand(item->checkState() == Qt::Checked ? m_bands->row(item) : m_choice.band);
}

void TGetReportMode::showChoice()
{
    m_updating = true;
    for (int row = 0; row < m_modes->count(); ++row)
        m_modes->item(row)->setCheckState(row == m_choice.group ? Qt::Checked : Qt::Unchecked);
    for (int row = 0; row < m_bands->count(); ++row)
        m_bands->item(row)->setCheckState(row == m_choice.band ? Qt::Checked : Qt::Unchecked);
    m_updating = false;
}

std::optional<ModeBandChoice> AskUserForModeBand(QWidget *parent)
{
    if (modeBandAsker())
        return modeBandAsker()();
    TGetReportMode dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Choice();
}

void SetModeBandAsker(std::function<std::optional<ModeBandChoice>()> asker) { modeBandAsker() = std::move(asker); }

} // namespace vellum
