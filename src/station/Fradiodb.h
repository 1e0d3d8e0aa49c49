#pragma once
// "Radio database": the definition editor with its pages (General, Values,
// Cmds/Fields, Test), the Radio, File and Test menus and the test console that
// runs the shown definition against the radio.

#include "radio.h"
#include "radiolist.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QTabWidget;

namespace vellum {

class TStation;

class TRadioDB : public QDialog {
    Q_OBJECT
public:
    explicit TRadioDB(TStation &station, QWidget *parent = nullptr);
    ~TRadioDB() override;

    // --- the menus ---
    void NewRadio();
    void CopyRadio();
    /// Stores the shown definition (dated today) in the list.
    void UpdateRadio();
    void DeleteRadio();
    /// Updates, saves the list and leaves no radio selected.
    void SaveAndExit();
    void TestRead();
    void TestWrite();
    void TestSMeter();
    QString ConsoleText() const;

    /// The definition as the pages show it.
    TRadioDefinition Shown();
    void Show(const TRadioDefinition &definition);
    const TRadioList &List() const { return m_list; }

private:
    QWidget *generalPage();
    QWidget *valuesPage();
    QWidget *commandsPage();
    QWidget *testPage();
    void buildMenus();
    void fillModels(const std::string &current);
    void storeChoices();
    void showChoices();
    /// Loads the shown definition into the test radio (made when needed); null when it cannot run.
    RadioLink *testRadio();
    void consoleLine(const std::string &line);
    void runTest(const std::function<void(RadioLink &)> &test);
    void showTestState(const RadioLink &radio);

    TStation &m_station;
    TRadioList m_list;
    TRadioDefinition m_working;
    std::unique_ptr<RadioLink> m_testRadio;
    QTabWidget *m_pages;
    // General
    QComboBox *m_model;
    QSpinBox *m_baud;
    QComboBox *m_dataBits, *m_stopBits;
    QDoubleSpinBox *m_low, *m_high;
    QLineEdit *m_notes, *m_fileInterface, *m_daemon;
    QLabel *m_date;
    // Values
    QComboBox *m_format, *m_order, *m_offset;
    QLineEdit *m_preamble;
    QSpinBox *m_confirm;
    QDoubleSpinBox *m_readMul, *m_writeMul, *m_ritMul, *m_sMul;
    QCheckBox *m_reverseAB;
    QComboBox *m_modeChoice;
    QSpinBox *m_read1, *m_read2, *m_write1, *m_write2;
    QCheckBox *m_prefer;
    // Cmds/Fields
    QComboBox *m_commandChoice, *m_commandLocation;
    QLineEdit *m_commandText;
    QSpinBox *m_commandLength;
    QComboBox *m_fieldChoice, *m_fieldCommand, *m_fieldFormat;
    QSpinBox *m_fieldPosition, *m_fieldLength;
    int m_shownMode = 1, m_shownCommand = 0, m_shownField = 0;
    // Test
    QDoubleSpinBox *m_mainFreq, *m_qsxFreq, *m_clarifier;
    QComboBox *m_testMode;
    QCheckBox *m_rit, *m_xit, *m_split;
    QListWidget *m_console;
};

} // namespace vellum
