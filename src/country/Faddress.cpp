#include "Faddress.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>

namespace vellum {

TEditAddressDialog::TEditAddressDialog(TCountryData &data, const ReferenceServices &services, QWidget *parent)
    : TReferenceEditor(data, services, parent)
{
    setObjectName(QStringLiteral("EditAddressDialog"));
    setWindowTitle(QStringLiteral("QSL Manager Addresses"));
    m_rows.Load(data);

    auto *layout = new QVBoxLayout(this);
    auto *managerRow = new QHBoxLayout;
    m_manager = new QComboBox(this);
    m_manager->setObjectName(QStringLiteral("FAddr_Manager"));
    m_manager->setEditable(true);
    m_manager->setInsertPolicy(QComboBox::NoInsert);
    m_manager->lineEdit()->setMaxLength(12);
    connect(m_manager->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &text) {
        if (text != text.toUpper()) {
            int cursor = m_manager->lineEdit()->cursorPosition();
            m_manager->lineEdit()->setText(text.toUpper());
            m_manager->lineEdit()->setCursorPosition(cursor);
        }
    });
    connect(m_manager, &QComboBox::currentIndexChanged, this, &TEditAddressDialog::managerChosen);
    managerRow->addWidget(m_manager, 1);
    auto addButton = [&](const QString &caption, const QString &name, auto slot) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, slot);
        managerRow->addWidget(button);
    };
    addButton(QStringLiteral("Add Address"), QStringLiteral("FAddr_Add"), &TEditAddressDialog::AddAddressClick);
    addButton(QStringLiteral("Delete Address"), QStringLiteral("FAddr_Delete"), &TEditAddressDialog::DeleteAddressClick);
    addButton(QStringLiteral("Search Manager"), QStringLiteral("FAddr_Search"), &TEditAddressDialog::SearchManagerClick);
    layout->addLayout(managerRow);

    m_address = new QPlainTextEdit(this);
    m_address->setObjectName(QStringLiteral("FAddr_Address"));
    m_address->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(m_address, 1);

    auto *buttons = new QHBoxLayout;
    addButtons(buttons, QStringLiteral("FAddr_"), QStringLiteral("Export addresses"), QStringLiteral("Import addresses"));
    layout->addLayout(buttons);
    resize(520, 320);
    fillManagers(0);
}

void TEditAddressDialog::fillManagers(int select)
{
    {
        QSignalBlocker block(m_manager);
        m_manager->clear();
        for (const AddressRow &row : m_rows.Rows())
            m_manager->addItem(ScreenText(row.call));
    }
    m_shown = -1;
    m_manager->setCurrentIndex(-1);
    m_manager->setCurrentIndex(m_rows.Empty() ? -1 : std::clamp(select, 0, m_rows.Count() - 1));
    if (m_rows.Empty())
        managerChosen(-1);
}

void TEditAddressDialog::managerChosen(int row)
{
    storeShownAddress();
    m_shown = row >= 0 && row < m_rows.Count() ? row : -1;
    QStringList lines;
    if (m_shown >= 0)
        for (const std::string &line : m_rows.At(m_shown).lines)
            lines << ScreenText(line);
    m_address->setPlainText(lines.join(QLatin1Char('\n')));
    m_address->setEnabled(m_shown >= 0);
}

void TEditAddressDialog::storeShownAddress()
{
    if (m_shown < 0 || m_shown >= m_rows.Count())
        return;
    std::vector<std::string> lines;
    const QStringList texts = m_address->toPlainText().split(QLatin1Char('\n'));
    for (const QString &text : texts)
        lines.push_back(CoreText(text));
    std::vector<std::string> fitted = FitAddressLines(lines, AddressEditorCapacity);
    if (fitted != m_rows.At(m_shown).lines)
        m_rows.SetLines(m_shown, fitted);
}

void TEditAddressDialog::AddAddressClick()
{
    storeShownAddress();
    std::int32_t position = m_rows.AddCall(CoreText(m_manager->currentText()));
    if (position < 0) {
        notifier().error(AddressText::AlreadyListed);
        return;
    }
    fillManagers(position);
    m_address->setFocus();
}

void TEditAddressDialog::DeleteAddressClick()
{
    int row = m_manager->currentIndex();
    if (row < 0 || row >= m_rows.Count())
        return;
    m_shown = -1; // the address shown goes with its manager
    m_rows.DeleteRow(row);
    fillManagers(row);
}

void TEditAddressDialog::SearchManagerClick()
{
    std::int32_t row = m_rows.FindCall(CoreText(m_manager->currentText()));
    if (row >= 0)
        m_manager->setCurrentIndex(row);
}

void TEditAddressDialog::applyWorkingCopy(TCountryData &data)
{
    storeShownAddress();
    m_rows.Apply(data);
}

std::string TEditAddressDialog::exportText(std::int64_t &rows)
{
    storeShownAddress();
    rows = m_rows.Count();
    return m_rows.ExportText();
}

bool TEditAddressDialog::importFile(const std::string &fileName, UserNotifier &notifier, ProgressService *progress)
{
    storeShownAddress();
    return RunTextImport(ImportJobOf(m_rows, fileName), notifier, progress);
}

void TEditAddressDialog::workingCopyReplaced() { fillManagers(0); }

} // namespace vellum
