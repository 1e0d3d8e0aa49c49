#include "Fradiodb.h"

#include "Fstation.h"
#include "channels.h"
#include "radiocontrol.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "config/configrecord.h"
#include "logstore/daytime.h"
#include "logstore/paths.h"
#include "logstore/qsotables.h"
#include "logstore/services.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vellum {

namespace {

template <std::size_t N>
QComboBox *namesBox(QWidget *parent, const char *name, const std::array<const char *, N> &names)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    for (const char *entry : names)
        box->addItem(QString::fromLatin1(entry));
    return box;
}

QComboBox *choiceBox(QWidget *parent, const char *name, const QStringList &items)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(items);
    return box;
}

QSpinBox *spin(QWidget *parent, const char *name, int low, int high)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(low, high);
    return box;
}

QDoubleSpinBox *real(QWidget *parent, const char *name, double low, double high, int decimals)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(low, high);
    box->setDecimals(decimals);
    return box;
}

QLineEdit *line(QWidget *parent, const char *name, int length)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(length);
    return edit;
}

std::string text(const QLineEdit *edit) { return edit->text().toStdString(); }

/// A mode code in a spin box: -1 shows none.
int codeShown(std::uint8_t code) { return code == NoModeCode ? -1 : code; }
std::uint8_t codeOf(const QSpinBox *box) { return box->value() < 0 ? NoModeCode : static_cast<std::uint8_t>(box->value()); }

} // namespace

TRadioDB::TRadioDB(TStation &station, QWidget *parent) : QDialog(parent), m_station(station), m_list(RadiosDir())
{
    setObjectName(QStringLiteral("RadioDB"));
    setWindowTitle(QStringLiteral("Radio database"));
    auto *layout = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("Pages"));
    m_pages->addTab(generalPage(), QStringLiteral("General"));
    m_pages->addTab(valuesPage(), QStringLiteral("Values"));
    m_pages->addTab(commandsPage(), QStringLiteral("Cmds/Fields"));
    m_pages->addTab(testPage(), QStringLiteral("Test"));
    layout->addWidget(m_pages);
    buildMenus();
    std::vector<std::string> problems;
    m_list.Load(problems);
    for (const std::string &problem : problems)
        consoleLine(problem);
    if (m_list.Names().empty())
        m_list.Put(NewRadioDefinition(TodayDayNumber()));
    std::string current(station.Host().Context().Config().Hardware_RadioType.view());
    const TRadioDefinition *chosen = m_list.Find(current);
    Show(chosen ? *chosen : *m_list.Find(m_list.Names().front()));
    connect(m_model, &QComboBox::activated, this, [this](int index) {
        if (const TRadioDefinition *definition = m_list.Find(m_model->itemText(index).toStdString()))
            Show(*definition);
    });
}

TRadioDB::~TRadioDB() = default;

QWidget *TRadioDB::generalPage()
{
    auto *page = new QWidget(this);
    auto *form = new QFormLayout(page);
    m_model = new QComboBox(page);
    m_model->setObjectName(QStringLiteral("Model"));
    m_model->setEditable(true);
    m_model->lineEdit()->setMaxLength(20);
    m_baud = spin(page, "Baud", 0, 65535);
    m_dataBits = choiceBox(page, "DataBits", {"7 bits", "8 bits"});
    m_stopBits = choiceBox(page, "StopBits", {"1 bit", "2 bits"});
    m_low = real(page, "FreqLow", 0, 1e7, 1);
    m_high = real(page, "FreqHigh", 0, 1e7, 1);
    m_notes = line(page, "Notes", 35);
    m_date = new QLabel(page);
    m_date->setObjectName(QStringLiteral("LastModified"));
    m_fileInterface = line(page, "FileInterface", 40);
    m_daemon = line(page, "DaemonAddress", 40);
    form->addRow(QStringLiteral("Model"), m_model);
    form->addRow(QStringLiteral("Standard baud rate"), m_baud);
    form->addRow(QStringLiteral("Data bits"), m_dataBits);
    form->addRow(QStringLiteral("Stop bits"), m_stopBits);
    form->addRow(QStringLiteral("Low frequency (kHz)"), m_low);
    form->addRow(QStringLiteral("High frequency (kHz)"), m_high);
    form->addRow(QStringLiteral("Notes"), m_notes);
    form->addRow(QStringLiteral("Last modified"), m_date);
    form->addRow(QStringLiteral("File interface"), m_fileInterface);
    form->addRow(QStringLiteral("Rig daemon (host:port)"), m_daemon);
    return page;
}

QWidget *TRadioDB::valuesPage()
{
    auto *page = new QWidget(this);
    auto *form = new QFormLayout(page);
    m_format = choiceBox(page, "CommandFormat", {"Hex", "String"});
    m_order = choiceBox(page, "ByteOrder", {"Normal", "Reverse"});
    m_preamble = line(page, "Preamble", 20);
    m_confirm = spin(page, "ConfirmLength", 0, 255);
    m_offset = choiceBox(page, "LocationOffset", {"Zero based", "One based"});
    m_readMul = real(page, "ReadMul", -1e6, 1e6, 5);
    m_writeMul = real(page, "WriteMul", -1e6, 1e6, 5);
    m_ritMul = real(page, "RitMul", -1e6, 1e6, 5);
    m_sMul = real(page, "SMeterMul", -1e6, 1e6, 5);
    m_reverseAB = new QCheckBox(QStringLiteral("Reverse A/B"), page);
    m_reverseAB->setObjectName(QStringLiteral("ReverseAB"));
    m_modeChoice = new QComboBox(page);
    m_modeChoice->setObjectName(QStringLiteral("ModeChoice"));
    for (int mode = 1; mode < ModeCount; ++mode)
        m_modeChoice->addItem(QString::fromStdString(ModeName(mode)), mode);
    m_read1 = spin(page, "Read1", -1, 254);
    m_read2 = spin(page, "Read2", -1, 254);
    m_write1 = spin(page, "Write1", -1, 254);
    m_write2 = spin(page, "Write2", -1, 254);
    for (QSpinBox *code : {m_read1, m_read2, m_write1, m_write2})
        code->setSpecialValueText(QStringLiteral("none"));
    m_prefer = new QCheckBox(QStringLiteral("Prefer"), page);
    m_prefer->setObjectName(QStringLiteral("Prefer"));
    form->addRow(QStringLiteral("Format"), m_format);
    form->addRow(QStringLiteral("Byte order"), m_order);
    form->addRow(QStringLiteral("Command preamble"), m_preamble);
    form->addRow(QStringLiteral("Confirm length"), m_confirm);
    form->addRow(QStringLiteral("Location offset"), m_offset);
    form->addRow(QStringLiteral("Read multiplier"), m_readMul);
    form->addRow(QStringLiteral("Write multiplier"), m_writeMul);
    form->addRow(QStringLiteral("Clarifier multiplier"), m_ritMul);
    form->addRow(QStringLiteral("S meter multiplier"), m_sMul);
    form->addRow(m_reverseAB);
    form->addRow(QStringLiteral("Mode"), m_modeChoice);
    form->addRow(QStringLiteral("Read 1"), m_read1);
    form->addRow(QStringLiteral("Read 2"), m_read2);
    form->addRow(QStringLiteral("Write 1"), m_write1);
    form->addRow(QStringLiteral("Write 2"), m_write2);
    form->addRow(m_prefer);
    connect(m_modeChoice, &QComboBox::currentIndexChanged, this, [this] {
        storeChoices();
        showChoices();
    });
    return page;
}

QWidget *TRadioDB::commandsPage()
{
    auto *page = new QWidget(this);
    auto *form = new QFormLayout(page);
    m_commandChoice = namesBox(page, "CommandChoice", RadioCommandNames);
    m_commandText = line(page, "CommandString", 50);
    m_commandLength = spin(page, "BytesToRead", 0, 255);
    m_commandLocation = namesBox(page, "CommandLocation", ResponseLocationNames);
    m_fieldChoice = namesBox(page, "FieldChoice", RadioFieldNames);
    m_fieldCommand = namesBox(page, "FieldCommand", RadioCommandNames);
    m_fieldFormat = namesBox(page, "FieldFormat", FieldFormatNames);
    m_fieldPosition = spin(page, "FieldPosition", 0, 255);
    m_fieldLength = spin(page, "FieldLength", 0, 255);
    form->addRow(QStringLiteral("Command"), m_commandChoice);
    form->addRow(QStringLiteral("Command string"), m_commandText);
    form->addRow(QStringLiteral("Bytes to read"), m_commandLength);
    form->addRow(QStringLiteral("Location"), m_commandLocation);
    form->addRow(QStringLiteral("Field"), m_fieldChoice);
    form->addRow(QStringLiteral("In command"), m_fieldCommand);
    form->addRow(QStringLiteral("Format"), m_fieldFormat);
    form->addRow(QStringLiteral("Position"), m_fieldPosition);
    form->addRow(QStringLiteral("Length or mask"), m_fieldLength);
    for (QComboBox *choice : {m_commandChoice, m_fieldChoice})
        connect(choice, &QComboBox::currentIndexChanged, this, [this] {
            storeChoices();
            showChoices();
        });
    return page;
}

QWidget *TRadioDB::testPage()
{
    auto *page = new QWidget(this);
    auto *form = new QFormLayout(page);
    m_mainFreq = real(page, "MainFreq", 0, 1e7, 3);
    m_qsxFreq = real(page, "QsxFreq", 0, 1e7, 3);
    m_clarifier = real(page, "Clarifier", -100, 100, 3);
    m_testMode = new QComboBox(page);
    m_testMode->setObjectName(QStringLiteral("TestMode"));
    for (int mode = 1; mode < ModeCount; ++mode)
        m_testMode->addItem(QString::fromStdString(ModeName(mode)), mode);
    m_rit = new QCheckBox(QStringLiteral("RIT"), page);
    m_xit = new QCheckBox(QStringLiteral("XIT"), page);
    m_split = new QCheckBox(QStringLiteral("Split"), page);
    m_split->setObjectName(QStringLiteral("TestSplit"));
    m_console = new QListWidget(page);
    m_console->setObjectName(QStringLiteral("TestLog"));
    m_console->setMinimumHeight(160);
    form->addRow(QStringLiteral("Main frequency"), m_mainFreq);
    form->addRow(QStringLiteral("QSX frequency"), m_qsxFreq);
    form->addRow(QStringLiteral("Clarifier"), m_clarifier);
    form->addRow(QStringLiteral("Mode"), m_testMode);
    form->addRow(m_rit, m_xit);
    form->addRow(m_split);
    form->addRow(m_console);
    return page;
}

void TRadioDB::buildMenus()
{
    auto *bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    auto add = [this](QMenu *menu, const char *name, const QString &caption, auto slot) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
    };
    QMenu *radio = bar->addMenu(QStringLiteral("Radio"));
    add(radio, "RadioNew", QStringLiteral("New"), &TRadioDB::NewRadio);
    add(radio, "RadioCopy", QStringLiteral("Copy"), &TRadioDB::CopyRadio);
    add(radio, "RadioUpdate", QStringLiteral("Update"), &TRadioDB::UpdateRadio);
    add(radio, "RadioDelete", QStringLiteral("Delete"), &TRadioDB::DeleteRadio);
    QMenu *file = bar->addMenu(QStringLiteral("File"));
    add(file, "SaveAndExit", QStringLiteral("Save Changes and Exit"), &TRadioDB::SaveAndExit);
    add(file, "CancelAndExit", QStringLiteral("Cancel changes and Exit"), &QDialog::reject);
    QMenu *test = bar->addMenu(QStringLiteral("Test"));
    add(test, "TestRead", QStringLiteral("Read"), &TRadioDB::TestRead);
    add(test, "TestWrite", QStringLiteral("Write"), &TRadioDB::TestWrite);
    add(test, "TestSMeter", QStringLiteral("S meter"), &TRadioDB::TestSMeter);
    add(test, "TestCopy", QStringLiteral("Copy to Clipboard"), [this] { QApplication::clipboard()->setText(ConsoleText()); });
}

void TRadioDB::fillModels(const std::string &current)
{
    m_model->clear();
    for (const std::string &name : m_list.Names())
        m_model->addItem(QString::fromStdString(name));
    m_model->setCurrentText(QString::fromStdString(current));
}

// --- the definition shown ---------------------------------------------------------------------

void TRadioDB::storeChoices()
{
    ModeCodes &codes = m_working.modes[static_cast<std::size_t>(m_shownMode)];
    codes = {codeOf(m_read1), codeOf(m_read2), codeOf(m_write1), codeOf(m_write2), m_prefer->isChecked()};
    RadioCommandDef &command = m_working.commands[static_cast<std::size_t>(m_shownCommand)];
    command = {text(m_commandText), static_cast<std::uint16_t>(m_commandLength->value()),
               static_cast<std::uint8_t>(m_commandLocation->currentIndex())};
    RadioFieldDef &field = m_working.fields[static_cast<std::size_t>(m_shownField)];
    field = {static_cast<std::uint8_t>(m_fieldCommand->currentIndex()), static_cast<std::uint8_t>(m_fieldFormat->currentIndex()),
             static_cast<std::uint8_t>(m_fieldPosition->value()), static_cast<std::uint8_t>(m_fieldLength->value())};
}

void TRadioDB::showChoices()
{
    m_shownMode = m_modeChoice->currentData().toInt();
    const ModeCodes &codes = m_working.modes[static_cast<std::size_t>(m_shownMode)];
    m_read1->setValue(codeShown(codes.read1));
    m_read2->setValue(codeShown(codes.read2));
    m_write1->setValue(codeShown(codes.write1));
    m_write2->setValue(codeShown(codes.write2));
    m_prefer->setChecked(codes.preferSecond);
    m_shownCommand = m_commandChoice->currentIndex();
    const RadioCommandDef &command = m_working.commands[static_cast<std::size_t>(m_shownCommand)];
    m_commandText->setText(QString::fromStdString(command.text));
    m_commandLength->setValue(command.length);
    m_commandLocation->setCurrentIndex(command.location);
    m_shownField = m_fieldChoice->currentIndex();
    const RadioFieldDef &field = m_working.fields[static_cast<std::size_t>(m_shownField)];
    m_fieldCommand->setCurrentIndex(field.command);
    m_fieldFormat->setCurrentIndex(field.format);
    m_fieldPosition->setValue(field.position);
    m_fieldLength->setValue(field.lengthOrMask);
}

void TRadioDB::Show(const TRadioDefinition &d)
{
    m_working = d;
    fillModels(d.model);
    m_baud->setValue(d.baud);
    m_dataBits->setCurrentIndex(d.dataBitsCode);
    m_stopBits->setCurrentIndex(d.stopBitsCode);
    m_low->setValue(d.lowKHz);
    m_high->setValue(d.highKHz);
    m_notes->setText(QString::fromStdString(d.notes));
    m_date->setText(QString::fromStdString(FormatDayMonthName(d.date)));
    m_fileInterface->setText(QString::fromStdString(d.fileInterface));
    m_daemon->setText(QString::fromStdString(d.daemon));
    m_format->setCurrentIndex(static_cast<int>(d.format));
    m_order->setCurrentIndex(d.reverseOrder ? 1 : 0);
    m_preamble->setText(QString::fromStdString(d.preamble));
    m_confirm->setValue(d.confirmLength);
    m_offset->setCurrentIndex(d.oneBased ? 1 : 0);
    m_readMul->setValue(d.readMul);
    m_writeMul->setValue(d.writeMul);
    m_ritMul->setValue(d.clarifierMul);
    m_sMul->setValue(d.sMeterMul);
    m_reverseAB->setChecked(d.reverseAB);
    showChoices();
}

TRadioDefinition TRadioDB::Shown()
{
    storeChoices();
    TRadioDefinition d = m_working;
    d.model = m_model->currentText().toStdString();
    d.baud = static_cast<std::uint16_t>(m_baud->value());
    d.dataBitsCode = static_cast<std::uint8_t>(m_dataBits->currentIndex());
    d.stopBitsCode = static_cast<std::uint8_t>(m_stopBits->currentIndex());
    d.lowKHz = m_low->value();
    d.highKHz = m_high->value();
    d.notes = text(m_notes);
    d.fileInterface = text(m_fileInterface);
    d.daemon = text(m_daemon);
    d.format = static_cast<CommandFormat>(m_format->currentIndex());
    d.reverseOrder = m_order->currentIndex() == 1;
    d.preamble = text(m_preamble);
    d.confirmLength = static_cast<std::uint8_t>(m_confirm->value());
    d.oneBased = m_offset->currentIndex() == 1;
    d.readMul = m_readMul->value();
    d.writeMul = m_writeMul->value();
    d.clarifierMul = m_ritMul->value();
    d.sMeterMul = m_sMul->value();
    d.reverseAB = m_reverseAB->isChecked();
    return d;
}

// --- the Radio and File menus --------------------------------------------------------------

void TRadioDB::NewRadio()
{
    TRadioDefinition fresh = NewRadioDefinition(TodayDayNumber());
    m_list.Put(fresh);
    Show(fresh);
}

void TRadioDB::CopyRadio()
{
    TRadioDefinition copy = Shown();
    copy.model = ("&" + copy.model).substr(0, 20);
    copy.notes = ("Cpy " + copy.notes).substr(0, 35);
    copy.date = TodayDayNumber();
    m_list.Put(copy);
    Show(copy);
}

void TRadioDB::UpdateRadio()
{
    TRadioDefinition shown = Shown();
    shown.date = TodayDayNumber();
    std::vector<std::string> problems = ValidateRadioDefinition(shown);
    for (const std::string &problem : problems)
        consoleLine("*** " + problem);
    if (!m_list.Put(shown)) {
        m_station.Host().Notifier().error("\"" + shown.model + "\" cannot be the name of a radio file");
        return;
    }
    Show(shown);
}

void TRadioDB::DeleteRadio()
{
    m_list.Delete(Shown().model);
    if (m_list.Names().empty())
        m_list.Put(NewRadioDefinition(TodayDayNumber()));
    Show(*m_list.Find(m_list.Names().front()));
}

void TRadioDB::SaveAndExit()
{
    UpdateRadio();
    try {
        m_list.Save(m_station.Host().Context().Config().DefQSO_Cycle);
    } catch (const std::exception &e) {
        m_station.Host().Notifier().error(e.what());
        return;
    }
    m_station.Host().Context().Config().Hardware_RadioType = "";
    accept();
}

// --- the test console -------------------------------------------------------------------------

void TRadioDB::consoleLine(const std::string &text)
{
    for (const QString &part : QString::fromStdString(text).split('\n'))
        m_console->addItem(part);
    m_console->scrollToBottom();
}

QString TRadioDB::ConsoleText() const
{
    QStringList lines;
    for (int i = 0; i < m_console->count(); ++i)
        lines << m_console->item(i)->text();
    return lines.join('\n');
}

RadioLink *TRadioDB::testRadio()
{
    TRadioDefinition shown = Shown();
    m_console->clear();
    consoleLine(shown.model + " Date = " + FormatDayMonthName(shown.date));
    std::vector<std::string> problems = ValidateRadioDefinition(shown);
    for (const std::string &problem : problems)
        consoleLine("*** " + problem);
    if (!problems.empty())
        return nullptr; // the engine runs only definitions that keep to their blocks
    if (auto *radio = dynamic_cast<TRadio *>(m_testRadio.get()); radio && shown.daemon.empty()) {
        radio->SetDefinition(shown);
        return radio;
    }
    m_testRadio.reset();
    std::string openError;
    m_testRadio = MakeRadio(shown, m_station.Host().Context().Config(), m_station.Ports(), RadioTiming{}, openError);
    if (!m_testRadio) {
        consoleLine(openError);
        return nullptr;
    }
    m_testRadio->SetConsole([this](const std::string &line) { consoleLine(line); });
    return m_testRadio.get();
}

void TRadioDB::showTestState(const RadioLink &radio)
{
    const RadioState &state = radio.Last();
    m_mainFreq->setValue(state.rxKHz);
    m_qsxFreq->setValue(state.secondKHz);
    m_split->setChecked(state.split);
    if (int at = m_testMode->findData(state.mode); at >= 0)
        m_testMode->setCurrentIndex(at);
}

void TRadioDB::runTest(const std::function<void(RadioLink &)> &test)
{
    m_pages->setCurrentIndex(3);
    try {
        RadioLink *radio = testRadio();
        if (!radio)
            return;
        test(*radio);
        consoleLine("Last error = " + std::to_string(radio->ErrorCode()));
    } catch (const ERadioException &e) {
        // The test radio is dropped; the next test makes it again.
        m_testRadio.reset();
        consoleLine(e.what());
        m_station.Host().Notifier().error(e.what());
    }
}

void TRadioDB::TestRead()
{
    runTest([this](RadioLink &radio) {
        radio.ReadStatus();
        showTestState(radio);
    });
}

void TRadioDB::TestWrite()
{
    int mode = m_testMode->currentData().toInt();
    bool split = m_split->isChecked();
    double qsx = m_qsxFreq->value(), main = m_mainFreq->value();
    runTest([=](RadioLink &radio) { radio.SetRadio(mode, split, qsx, main); });
}

void TRadioDB::TestSMeter()
{
    runTest([this](RadioLink &radio) { m_qsxFreq->setValue(radio.ReadSMeter()); });
}

} // namespace vellum
