#include "Fterminaldialogs.h"

#include "clusteraddress.h"

#include "config/configrecord.h"
#include "logstore/Ftext.h"
#include "logstore/fileio.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>
#include <filesystem>

namespace vellum {

// --- Select Internet address -----------------------------------------------------------

TAddressDialog::TAddressDialog(const std::string &addressFile, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AddressDialog"));
    setWindowTitle(QStringLiteral("Select Internet address"));
    auto *layout = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("AddressList"));
    std::error_code error;
    if (std::filesystem::exists(addressFile, error) && std::filesystem::file_size(addressFile, error) < (1u << 20)) {
        try {
            std::vector<std::uint8_t> bytes = ReadWholeFile(addressFile);
            for (const std::string &line :
                 AddressListLines(std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size())))
                m_list->addItem(ScreenText(line));
        } catch (const std::exception &) {
            // an unreadable list is an empty one: the user sees no addresses
        }
    }
    m_list->setCurrentRow(0);
    layout->addWidget(m_list);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *close = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::ActionRole);
    close->setObjectName(QStringLiteral("CloseConnection"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { done(m_list->currentItem() ? Chosen : Cancelled); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(Cancelled); });
    connect(close, &QPushButton::clicked, this, [this] { done(CloseConnection); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { done(Chosen); });
}

std::string TAddressDialog::ChosenLine() const
{
    return m_list->currentItem() ? CoreText(m_list->currentItem()->text()) : std::string();
}

// --- function keys --------------------------------------------------------------------

TPacketKeysDialog::TPacketKeysDialog(TConfigRecord &config, TerminalKind kind, QWidget *parent)
    : TFunctionKeysDialog(QString::fromLatin1(TerminalName(kind)) + QStringLiteral(" function keys"),
                          TerminalKeys(config, kind), parent)
{
    setObjectName(QStringLiteral("PacketKeysDialog"));
}

// --- Announce DX -------------------------------------------------------------------------

std::string Announcement::Text() const
{
    char number[32];
    std::snprintf(number, sizeof number, "%.2f", kHz);
    std::string text = "DX " + call + " " + number;
    if (qsxKHz != 0) {
        std::snprintf(number, sizeof number, "%.2f", qsxKHz);
        text += std::string(" QSX ") + number;
    }
    if (!remarks.empty())
        text += " " + remarks;
    return text;
}

TAnnounceDialog::TAnnounceDialog(const Announcement &start, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AnnounceDialog"));
    setWindowTitle(QStringLiteral("Announce DX"));
    auto *form = new QFormLayout(this);
    auto field = [this, form](const char *name, const QString &caption, const QString &text) {
        auto *edit = new QLineEdit(text, this);
        edit->setObjectName(QString::fromLatin1(name));
        form->addRow(caption, edit);
        return edit;
    };
    m_call = field("AnnounceCall", QStringLiteral("Callsign"), ScreenText(start.call));
    m_freq = field("AnnounceFrequency", QStringLiteral("Frequency"), QString::number(start.kHz, 'f', 2));
    m_qsx = field("AnnounceQsx", QStringLiteral("QSX frequency"), QString::number(start.qsxKHz, 'f', 2));
    m_remarks = field("AnnounceRemarks", QStringLiteral("Remarks"), ScreenText(start.remarks));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    if (start.call.empty())
        m_call->setFocus();
}

Announcement TAnnounceDialog::Result() const
{
    return {CoreText(m_call->text().trimmed().toUpper()), m_freq->text().toDouble(), m_qsx->text().toDouble(),
            CoreText(m_remarks->text().trimmed())};
}

} // namespace vellum
