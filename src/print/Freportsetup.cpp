#include "Freportsetup.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vellum {

QPrinter &SharedPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

QString SelectedPrinterText()
{
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        return QStringLiteral("No printers installed!");
    QPrinterInfo info(SharedPrinter());
    QString name = SharedPrinter().printerName();
    return QStringLiteral("%1 on %2").arg(name, info.location().isEmpty() ? name : info.location());
}

namespace {

/// Opens a file dialog when the file name field is double-clicked.
class DoubleClickFilter : public QObject {
public:
    DoubleClickFilter(QObject *parent, std::function<void()> action) : QObject(parent), m_action(std::move(action)) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonDblClick) {
            m_action();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_action;
};

QRadioButton *radio(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QRadioButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QSpinBox *pageBox(QWidget *parent, const char *name)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(1, 9999);
    return box;
}

} // namespace

TMyReportSetup::TMyReportSetup(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("MyReportSetup"));
    setWindowTitle(QStringLiteral("Report Setup"));
    auto *layout = new QVBoxLayout(this);

    auto *destination = new QGroupBox(QStringLiteral("Destination"), this);
    auto *destinationLayout = new QVBoxLayout(destination);
    m_printer = radio(destination, "Printer", QStringLiteral("Printer"));
    m_preview = radio(destination, "Preview", QStringLiteral("Preview"));
    m_file = radio(destination, "File", QStringLiteral("File"));
    m_fileName = new QLineEdit(destination);
    m_fileName->setObjectName(QStringLiteral("FileName"));
    m_fileName->setToolTip(QStringLiteral("Double-click to choose the file"));
    m_fileName->installEventFilter(new DoubleClickFilter(m_fileName, [this] { chooseFile(); }));
    for (QWidget *w : {static_cast<QWidget *>(m_printer), static_cast<QWidget *>(m_preview),
                       static_cast<QWidget *>(m_file), static_cast<QWidget *>(m_fileName)})
        destinationLayout->addWidget(w);
    layout->addWidget(destination);

    auto *printerRow = new QHBoxLayout;
    m_selectedPrinter = new QLabel(this);
    m_selectedPrinter->setObjectName(QStringLiteral("SelectedPrinter"));
    auto *setup = new QPushButton(QStringLiteral("Setup"), this);
    setup->setObjectName(QStringLiteral("Setup"));
    printerRow->addWidget(new QLabel(QStringLiteral("Selected Printer"), this));
    printerRow->addWidget(m_selectedPrinter, 1);
    printerRow->addWidget(setup);
    layout->addLayout(printerRow);

    auto *pages = new QGroupBox(QStringLiteral("Pages"), this);
    auto *pagesLayout = new QHBoxLayout(pages);
    m_all = radio(pages, "All", QStringLiteral("All"));
    m_range = radio(pages, "Range", QStringLiteral("Range"));
    m_from = pageBox(pages, "From");
    m_to = pageBox(pages, "To");
    m_to->setValue(9999);
    m_fromLabel = new QLabel(QStringLiteral("From"), pages);
    m_toLabel = new QLabel(QStringLiteral("to"), pages);
    for (QWidget *w : {static_cast<QWidget *>(m_all), static_cast<QWidget *>(m_range),
                       static_cast<QWidget *>(m_fromLabel), static_cast<QWidget *>(m_from),
                       static_cast<QWidget *>(m_toLabel), static_cast<QWidget *>(m_to)})
        pagesLayout->addWidget(w);
    layout->addWidget(pages);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(setup, &QPushButton::clicked, this, &TMyReportSetup::printerSetup);
    for (QRadioButton *button : {m_printer, m_preview, m_file, m_all, m_range})
        connect(button, &QRadioButton::toggled, this, &TMyReportSetup::followChoice);

    m_printer->setChecked(true);
    m_all->setChecked(true);
    m_selectedPrinter->setText(SelectedPrinterText());
    followChoice();
}

void TMyReportSetup::followChoice()
{
    m_fileName->setVisible(m_file->isChecked());
    for (QWidget *w : {static_cast<QWidget *>(m_from), static_cast<QWidget *>(m_to),
                       static_cast<QWidget *>(m_fromLabel), static_cast<QWidget *>(m_toLabel)})
        w->setVisible(m_range->isChecked());
}

void TMyReportSetup::chooseFile()
{
    QString name = QFileDialog::getSaveFileName(this, QStringLiteral("Print to file"), m_fileName->text(),
                                                QStringLiteral("All Files (*)"));
    if (!name.isEmpty())
        m_fileName->setText(name);
}

void TMyReportSetup::printerSetup()
{
    QPageSetupDialog dialog(&SharedPrinter(), this);
    dialog.exec();
    m_selectedPrinter->setText(SelectedPrinterText());
}

PrintSetupChoice TMyReportSetup::Choice() const
{
    PrintSetupChoice choice;
    choice.destination = m_file->isChecked()      ? PrintDestination::File
                         : m_preview->isChecked() ? PrintDestination::Preview
                                                  : PrintDestination::Printer;
    if (choice.destination == PrintDestination::File)
        choice.fileName = m_fileName->text().toStdString();
    if (m_range->isChecked())
        choice.pages = {m_from->value(), m_to->value()};
    return choice;
}

bool TMyReportSetup::Ask(PrintSetupChoice &choice)
{
    if (exec() != QDialog::Accepted)
        return false;
    choice = Choice();
    return true;
}

} // namespace vellum
