// The setup dialog driven by name offscreen, in the whole program: every page
// filled by keystrokes and saved, compared with what `vellum-cli config show`
// prints; the INI form of the saved settings; what saving starts; the
// "Preferences" item and the prompt for the own call.

#include "app/testing/Fprogram.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "callbook/onlinecallbook.h"
#include "config/configfile.h"
#include "config/configrules.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"
#include "setup/Fsetup.h"
#include "setup/Fsetupactions.h"
#include "setup/configset.h"
#include "setup/setupini.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sstream>

#include <sys/stat.h>

namespace vellum {
namespace {

class ScriptedIniChooser : public SetupFileChooser {
public:
    QString file;
    QString IniToWrite(QWidget *, const QString &) override { return file; }
    QString IniToMerge(QWidget *, const QString &) override { return file; }
};

/// The setting that item of a check list edits.
std::string listItemSetting(const std::string &control, int item)
{
    const std::string band = "[" + std::to_string(item + 1) + "]";
    if (control == "CL_station_bands")
        return "StationBands" + band;
    if (control == "CL_station_modes")
        return "StationModes" + band;
    if (control == "CL_VUCC_bands")
        return "VuccBands[" + std::to_string(item) + "]";
    const QStringList parts = QString::fromStdString(control).toLower().split(QLatin1Char('_'));
    const QStringList awards = {QStringLiteral("dxcc"), QStringLiteral("waz"), QStringLiteral("was"), QStringLiteral("wpx")};
    const std::string setup = "AwardSetup[" + std::to_string(awards.indexOf(parts.value(1))) + "].";
    if (parts.value(2) == QLatin1String("valid"))
        return setup + "ValidBands" + band;
    if (parts.value(2) == QLatin1String("separate"))
        return setup + "SeparateBands" + band;
    if (parts.value(2) == QLatin1String("modes"))
        return setup + "ValidModes" + band;
    const char *const subAwards[] = {"Mixed", "ModeAwards", "BandAwards"};
    return setup + subAwards[item];
}

class SetupDialogTest : public test::ProgramTest {
protected:
    SetupDialogTest() : ProgramTest(VELLUM_DEFAULT_DATA_DIR, "setup-dialog") {}
    void SetUp() override
    {
        config.LASTLOG = "<none>";
        config.Personal_UserLevel = 2; // the screen font group takes input
    }

    void start(MainFormOptions options = {}) { program.Start({RegisterSetupWindows}, std::move(options)); }

    template <typename Widget = QWidget>
    Widget *control(TSetupDialog &dialog, const std::string &name)
    {
        auto *widget = dialog.findChild<Widget *>(QString::fromStdString(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    static void type(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
    }

    /// Fills every control of every page as a user would and returns the assignments
    /// (NAME=VALUE by setting name) that give the same settings.
    std::vector<std::string> fillEveryPage(TSetupDialog &dialog)
    {
        std::vector<std::string> expected;
        double magnitude[2] = {0, 0};
        int cutoffBand = 1;
        for (const SetupPage &page : SetupPages(FindSetupChoices(config), false)) {
            dialog.ShowPage(QString::fromStdString(page.caption));
            for (const SetupControl &c : page.controls) {
                QWidget *widget = control(dialog, c.name);
                if (!widget)
                    continue;
                const std::string &name = c.name;
                switch (c.kind) {
                case ControlKind::Text: {
                    const std::string text = ("v" + name).substr(0, c.capacity);
                    type(static_cast<QLineEdit *>(widget), QString::fromStdString(text));
                    expected.push_back(name + "=" + text);
                    break;
                }
                case ControlKind::Integer: {
                    auto *edit = static_cast<QLineEdit *>(widget);
                    if (edit->isReadOnly())
                        break; // the radio definition's rate: the setting stays
                    const std::int64_t value = std::min(c.low + 7, c.high);
                    type(edit, QString::number(value));
                    expected.push_back(name + "=" + std::to_string(value));
                    break;
                }
                case ControlKind::Real: {
                    const double value = name == "Personal_Longitude" ? 12.25 : name == "Personal_Latitude" ? 45.5 : 3555.25;
                    type(static_cast<QLineEdit *>(widget), QString::number(value));
                    if (name == "Personal_CWcutoff")
                        expected.push_back("Personal_CWcutoff[" + std::to_string(cutoffBand) + "]=3555.25");
                    else
                        magnitude[name == "Personal_Latitude"] = value;
                    break;
                }
                case ControlKind::Choice:
                case ControlKind::TextChoice: {
                    auto *box = static_cast<QComboBox *>(widget);
                    box->setFocus();
                    const int was = box->currentIndex();
                    QTest::keyClick(box, was + 1 < box->count() ? Qt::Key_Down : Qt::Key_Up);
                    EXPECT_TRUE(box->count() == 1 || box->currentIndex() != was) << name;
                    const auto item = static_cast<std::size_t>(std::max(0, box->currentIndex()));
                    if (name == "Personal_band")
                        cutoffBand = box->currentIndex() + 1;
                    else if (name == "Personal_longsign" || name == "Personal_latsign") {
                        const bool latitude = name == "Personal_latsign";
                        const double sign = item == 1 ? -1 : 1;
                        expected.push_back(std::string(latitude ? "Personal_Latitude=" : "Personal_Longitude=") +
                                           QString::number(sign * magnitude[latitude]).toStdString());
                    } else if (c.kind == ControlKind::TextChoice)
                        expected.push_back(name + "=" + c.textValues[item]);
                    else
                        expected.push_back((name == "F_GridSelection" ? std::string("VuccGridLength") : name) + "=" +
                                           std::to_string(c.values[item]));
                    if (name == "Hardware_RadioType") {
                        // Another radio (the shipped definitions are there) takes its default rate again.
                        auto *defaultRate = static_cast<QCheckBox *>(control(dialog, "hardware_defaultrate"));
                        expected.push_back(std::string("hardware_defaultrate=") + (defaultRate->isChecked() ? "1" : "0"));
                    }
                    break;
                }
                case ControlKind::Check: {
                    auto *box = static_cast<QCheckBox *>(widget);
                    box->setFocus();
                    const bool was = box->isChecked();
                    QTest::keyClick(box, Qt::Key_Space);
                    EXPECT_NE(box->isChecked(), was) << name;
                    expected.push_back(name + "=" + (box->isChecked() ? "1" : "0"));
                    break;
                }
                case ControlKind::CheckList: {
                    auto *list = static_cast<QListWidget *>(widget);
                    list->setFocus();
                    for (int row : {0, list->count() - 1}) {
                        list->setCurrentRow(row);
                        const bool was = list->item(row)->checkState() == Qt::Checked;
                        QTest::keyClick(list, Qt::Key_Space);
                        const bool checked = list->item(row)->checkState() == Qt::Checked;
                        EXPECT_NE(checked, was) << name << " " << row;
                        expected.push_back(listItemSetting(name, row) + "=" + (checked ? "1" : "0"));
                    }
                    break;
                }
                }
            }
        }
        return expected;
    }

    /// `vellum-cli config show` of a program directory, without the screen it was saved on.
    static std::vector<std::string> configShow(const std::string &programDir)
    {
        QProcess cli;
        cli.start(QStringLiteral(VELLUM_CLI), {QStringLiteral("--dir"), QString::fromStdString(programDir),
                                               QStringLiteral("config"), QStringLiteral("show")});
        EXPECT_TRUE(cli.waitForFinished(30000));
        std::vector<std::string> lines;
        std::istringstream out(cli.readAllStandardOutput().toStdString());
        for (std::string line; std::getline(out, line);)
            if (line.find("\"ScreenPpi\"") == std::string::npos && line.find("\"ScreenWidth\"") == std::string::npos)
                lines.push_back(line);
        return lines;
    }

    static TConfigRecord loadSaved(const std::string &fileName)
    {
        TConfigRecord saved;
        RecordingNotifier quiet;
        EXPECT_TRUE(LoadConfig(saved, fileName, std::nullopt, quiet));
        return saved;
    }

    ScriptedIniChooser iniChooser;
};

TEST_F(SetupDialogTest, EveryPageFilledByNameIsSavedAsConfigShowPrintsIt)
{
    start();
    TConfigRecord expected = config;
    std::vector<std::string> assignments;
    {
        TSetupDialog dialog(main->Host(), &iniChooser, main.get());
        dialog.show();
        EXPECT_EQ(dialog.findChild<QTabWidget *>(QStringLiteral("SetupPages"))->count(), 16);
        assignments = fillEveryPage(dialog);
        EXPECT_EQ(std::memcmp(&config, &expected, sizeof config), 0) << "the live settings change only when saved";
        QTest::mouseClick(control<QPushButton>(dialog, "SaveExit"), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    ASSERT_GT(assignments.size(), 150u);
    ApplySettings(expected, assignments);
    ApplyOwnCall(expected); // saving a new own call fills it in
    test::TempDir other("setup-expected");
    SetProgramDir(other.path());
    CreateProgramDirs();
    SaveConfig(expected, DataFileName(DataFile::Config), ScreenInfo{});
    SetProgramDir(dir.path());
    EXPECT_EQ(configShow(dir.path()), configShow(other.path()));

    // The user level of the saved settings enables the advanced menu items.
    QApplication::processEvents();
    EXPECT_TRUE(main->findChild<QAction *>(QStringLiteral("IOTA1"))->isEnabled());
    EXPECT_NE(main->windowTitle().indexOf(QStringLiteral("vPersonal_C")), -1);

    // The saved settings as an INI file, merged into the built-in ones, give them back byte for byte.
    const TConfigRecord saved = loadSaved(program.SaveFile("VELLUM.CFG"));
    iniChooser.file = QString::fromStdString(program.SaveFile("VELLUM.INI"));
    {
        TSetupDialog dialog(main->Host(), &iniChooser, main.get());
        QTest::mouseClick(control<QPushButton>(dialog, "WriteIni"), Qt::LeftButton);
    }
    TConfigRecord merged = BuiltInConfig();
    const IniMergeReport report = MergeSetupIniFile(merged, SetupPages(FindSetupChoices(config), false),
                                                    iniChooser.file.toStdString());
    EXPECT_TRUE(report.Merged() && report.notes.empty()) << report.Text();
    merged.ScreenPpi = saved.ScreenPpi.get();
    merged.ScreenWidth = saved.ScreenWidth.get();
    EXPECT_EQ(std::memcmp(&merged, &saved, sizeof saved), 0);
}

TEST_F(SetupDialogTest, FieldsRefuseValuesOutOfRangeAndCancelAfterAMergeChangesNothing)
{
    start();
    const TConfigRecord before = config;
    TSetupDialog dialog(main->Host(), &iniChooser, main.get());
    dialog.show();
    auto *worked = control<QLineEdit>(dialog, "WorkedCutoff");
    type(worked, QStringLiteral("70000"));
    QTest::keyClick(worked, Qt::Key_Return);
    EXPECT_EQ(program.LastMessage(), "Value in range 0 to 65535 expected");
    EXPECT_EQ(dialog.Copy().WorkedCutoff, before.WorkedCutoff);

    control<QLineEdit>(dialog, "Personal_grid")->setText(QStringLiteral("KP20le"));
    QTest::mouseClick(control<QPushButton>(dialog, "CalcFromGrid"), Qt::LeftButton);
    EXPECT_EQ(control<QComboBox>(dialog, "Personal_longsign")->currentText(), QStringLiteral("East"));
    EXPECT_EQ(dialog.Copy().Personal_Latitude, 60.1875);
    control<QComboBox>(dialog, "Personal_latsign")->setCurrentIndex(1);
    QTest::mouseClick(control<QPushButton>(dialog, "CalcFromLongLat"), Qt::LeftButton);
    EXPECT_EQ(control<QLineEdit>(dialog, "Personal_grid")->text(), QStringLiteral("KC29lt"));
    control<QLineEdit>(dialog, "Personal_grid")->setText(QStringLiteral("ZZ99"));
    QTest::mouseClick(control<QPushButton>(dialog, "CalcFromGrid"), Qt::LeftButton);
    EXPECT_EQ(program.LastMessage(), "Bad Grid locator");

    iniChooser.file = QString::fromStdString(dir.file("in.ini"));
    test::WriteFile(dir.file("in.ini"), "[Station]\nRotator_port=COM9\nRotator_type=Orion M2\n[Personal]\nPersonal_Callsign=OH2XX\n");
    QTest::mouseClick(control<QPushButton>(dialog, "MergeIni"), Qt::LeftButton);
    EXPECT_EQ(control<QLineEdit>(dialog, "Personal_Callsign")->text(), QStringLiteral("OH2XX"));
    EXPECT_EQ(control<QComboBox>(dialog, "Rotator_type")->currentText(), QStringLiteral("Orion M2"));
    EXPECT_NE(program.LastMessage().find("line 2: [Station] Rotator_port=\"COM9\" ignored"), std::string::npos);
    test::WriteFile(dir.file("in.ini"), std::string("\0\0", 2));
    QTest::mouseClick(control<QPushButton>(dialog, "MergeIni"), Qt::LeftButton);
    EXPECT_NE(program.LastMessage().find("binary data"), std::string::npos);

    QTest::mouseClick(control<QPushButton>(dialog, "CancelExit"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(std::memcmp(&config, &before, sizeof config), 0);
    EXPECT_TRUE(test::ReadFile(program.SaveFile("VELLUM.CFG")).empty());
}

TEST_F(SetupDialogTest, SavingStartsWhatTheChangedSettingsNeed)
{
    config.Hardware_RadioType = "TestRig";
    config.Personal_Callsign = "DL1ABC";
    start();
    // A log whose award tables the changed bands invalidate.
    chooser.file = QString::fromStdString(program.SaveFile("A.VLL"));
    main->NewClick();
    ASSERT_NE(main->Log(), nullptr);
    main->Log()->MarkAwardTablesValid();
    std::vector<std::string> steps;
    WindowHost &host = main->Host();
    auto record = [&](const char *step, bool answer) {
        return [&steps, &host, step, answer] {
            steps.push_back(std::string(step) + ":" + std::to_string(host.Context().Config().Hardware_RadioPollRate));
            return answer;
        };
    };
    host.HandleSetupAction(SetupAction::StopRadio, main.get(), record("stop radio", true));
    host.HandleSetupAction(SetupAction::StartRadio, main.get(), record("start radio", true));
    host.HandleSetupAction(SetupAction::RadioRunning, main.get(), record("running", false));
    host.HandleSetupAction(SetupAction::StopRotator, main.get(), record("stop rotator", true));
    host.HandleSetupAction(SetupAction::RestartRotator, main.get(), record("restart rotator", true));
    host.HandleSetupAction(SetupAction::TestSound, main.get(), record("sound", false));
    host.HandleSetupAction(SetupAction::CheckAddressSource, main.get(), record("address", false));

    TSetupDialog dialog(main->Host(), &iniChooser, main.get());
    dialog.show();
    // Each page is shown while it is edited: leaving it stores it.
    dialog.ShowPage(QStringLiteral("Radio"));
    type(control<QLineEdit>(dialog, "Hardware_RadioPollRate"), QStringLiteral("700"));
    control<QComboBox>(dialog, "hardware_cwport")->setCurrentIndex(4); // DTR on radio port
    dialog.ShowPage(QStringLiteral("Station"));
    control<QComboBox>(dialog, "Rotator_port")->setCurrentIndex(3);
    control<QListWidget>(dialog, "CL_station_bands")->item(0)->setCheckState(Qt::Unchecked);
    dialog.ShowPage(QStringLiteral("Packet1"));
    control<QComboBox>(dialog, "Packet_DXVoice")->setCurrentIndex(3);
    dialog.ShowPage(QStringLiteral("Ext Data"));
    control<QComboBox>(dialog, "F_ExtAddrType")->setCurrentIndex(2);
    QTest::mouseClick(control<QPushButton>(dialog, "SaveExit"), Qt::LeftButton);

    const std::vector<std::string> order = {"stop radio:5000", "stop rotator:5000", "start radio:700", "running:700",
                                            "restart rotator:700", "sound:700", "address:700"};
    EXPECT_EQ(steps, order);
    EXPECT_EQ(config.Hardware_RadioPollRate, 700);
    EXPECT_EQ(config.hardware_cwport, 1); // no radio runs to key on
    EXPECT_EQ(config.Packet_DXVoice, 0);  // no sound: the system beep
    EXPECT_EQ(config.F_ExtAddrType, 0);
    EXPECT_NE(program.LastMessage().find("The file: Hamcal32.so\rneeds to be in the EXTDATA directory"), std::string::npos);
    EXPECT_FALSE(main->Log()->AwardTablesValid());
    EXPECT_EQ(loadSaved(program.SaveFile("VELLUM.CFG")).Hardware_RadioPollRate, 700);
}

TEST_F(SetupDialogTest, PreferencesFollowsInfoAndANewUserIsAskedForTheCallOnce)
{
    MainFormOptions options;
    options.firstStart = true;
    config.LASTLOG = "";
    start(std::move(options));
    QMenu *file = main->findChild<QMenu *>(QStringLiteral("FileMenu"));
    const QList<QAction *> items = file->actions();
    const auto at = [&](const char *name) {
        return std::find_if(items.begin(), items.end(), [&](QAction *a) { return a->objectName() == QLatin1String(name); }) - items.begin();
    };
    EXPECT_EQ(at("Preferences1"), at("Info1") + 1);

    ASSERT_NE(main->Log(), nullptr); // the new user's log
    QApplication::processEvents();
    auto *prompt = main->findChild<TSetupDialog *>();
    ASSERT_NE(prompt, nullptr);
    EXPECT_TRUE(prompt->isVisible());
    EXPECT_EQ(prompt->findChild<QTabWidget *>()->currentWidget()->objectName(), QStringLiteral("Personal"));
    type(control<QLineEdit>(*prompt, "Personal_Callsign"), QStringLiteral("DL7NEW"));
    QTest::mouseClick(control<QPushButton>(*prompt, "SaveExit"), Qt::LeftButton);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    EXPECT_EQ(config.Personal_Callsign.view(), "DL7NEW");
    EXPECT_NE(main->windowTitle().indexOf(QStringLiteral("DL7NEW")), -1);
    EXPECT_EQ(main->findChild<TSetupDialog *>(), nullptr);

    config.Personal_Callsign = "";
    chooser.file = QString::fromStdString(program.SaveFile("SECOND.VLL"));
    main->NewClick();
    QApplication::processEvents();
    EXPECT_EQ(main->findChild<TSetupDialog *>(), nullptr) << "asked once a run";
}

TEST_F(SetupDialogTest, OnlineCallbookSettingsOnTheExtDataPageGoToTheirOwnFileOnSave)
{
    start();
    const std::string file = program.SaveFile("CALLBOOK.CFG");
    OnlineCallbookSettings stored;
    stored.user = "ann";
    stored.password = "old-pw";
    SaveOnlineSettings(stored, file);
    {
        TSetupDialog dialog(main->Host(), &iniChooser, main.get());
        dialog.ShowPage(QStringLiteral("Ext Data"));
        auto *user = control<QLineEdit>(dialog, "OnlineUser");
        auto *password = control<QLineEdit>(dialog, "OnlinePassword");
        ASSERT_TRUE(user && password);
        EXPECT_EQ(user->text(), "ann");
        EXPECT_EQ(password->text(), "old-pw");
        EXPECT_EQ(password->echoMode(), QLineEdit::Password);
        type(user, QStringLiteral("bob"));
        dialog.CancelAndExit();
    }
    EXPECT_EQ(LoadOnlineSettings(file).user, "ann") << "cancelled: the file stays";
    {
        TSetupDialog dialog(main->Host(), &iniChooser, main.get());
        dialog.ShowPage(QStringLiteral("Ext Data"));
        type(control<QLineEdit>(dialog, "OnlineUser"), QStringLiteral("bob"));
        type(control<QLineEdit>(dialog, "OnlinePassword"), QStringLiteral("new-pw"));
        type(control<QLineEdit>(dialog, "OnlineUrl"), QStringLiteral("http://127.0.0.1:8080/xml"));
        auto *service = control<QComboBox>(dialog, "OnlineService");
        service->setFocus();
        QTest::keyClick(service, Qt::Key_Down);
        control<QSpinBox>(dialog, "OnlineTimeout")->setValue(40);
        iniChooser.file = QString::fromStdString(dir.file("setup.ini"));
        dialog.WriteIniFile();
        dialog.SaveAndExit();
    }
    OnlineCallbookSettings saved = LoadOnlineSettings(file);
    EXPECT_EQ(saved.user, "bob");
    EXPECT_EQ(saved.password, "new-pw");
    EXPECT_EQ(saved.baseUrl, "http://127.0.0.1:8080/xml");
    EXPECT_EQ(saved.service, OnlineService::HamQthXml);
    EXPECT_EQ(saved.timeoutSeconds, 40);
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    // Neither the INI form nor the configuration record carries them.
    for (const std::string &written : {dir.file("setup.ini"), DataFileName(DataFile::Config)}) {
        const std::vector<std::uint8_t> bytes = test::ReadFile(written);
        ASSERT_FALSE(bytes.empty()) << written;
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()).find("new-pw"), std::string::npos) << written;
    }

    // Saved without touching them, settings that were never stored are not written.
    std::filesystem::remove(file);
    {
        TSetupDialog dialog(main->Host(), &iniChooser, main.get());
        EXPECT_EQ(control<QLineEdit>(dialog, "OnlineUser")->text(), "");
        dialog.SaveAndExit();
    }
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(SetupDialogTest, PagesAsPictures)
{
    start();
    TSetupDialog dialog(main->Host(), &iniChooser, main.get());
    dialog.resize(760, 620);
    dialog.show();
    const QString target = qEnvironmentVariable("VELLUM_SCREENSHOT_DIR", QString::fromStdString(dir.path()));
    for (const char *page : {"Personal", "Station", "Ext Data"}) {
        dialog.ShowPage(QString::fromLatin1(page));
        const QImage image = dialog.grab().toImage();
        EXPECT_GE(image.width(), 700);
        const QString file =
            target + QStringLiteral("/setup-%1.png").arg(QString::fromLatin1(page).toLower().replace(' ', '-'));
        EXPECT_TRUE(image.save(file)) << file.toStdString();
    }
}

} // namespace
} // namespace vellum
