#include "setup/Fsetup.h"

#include "setup/Fsetupactions.h"
#include "setup/setupini.h"

#include "app/programcontext.h"
#include "callbook/Fonlinesettings.h"
#include "app/windowhost.h"
#include "app/windowservices.h"
#include "country/countrydata.h"
#include "geo/bearing.h"
#include "logstore/Ftext.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <charconv>
#include <cmath>

namespace vellum {

namespace {

class QtSetupFileChooser : public SetupFileChooser {
public:
    QString IniToWrite(QWidget *parent, const QString &proposed) override
    {
        return QFileDialog::getSaveFileName(parent, QStringLiteral("Write INI File"), proposed,
                                            QStringLiteral("INI files (*.ini *.INI)"));
    }
    QString IniToMerge(QWidget *parent, const QString &dir) override
    {
        return QFileDialog::getOpenFileName(parent, QStringLiteral("Merge INI file"), dir,
                                            QStringLiteral("INI files (*.ini *.INI)"));
    }
};

QString realText(double number)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return QString::fromLatin1(buffer, static_cast<qsizetype>(result.ptr - buffer));
}

std::optional<double> realOf(const QString &text)
{
    bool ok = false;
    double number = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).trimmed().toDouble(&ok);
    return ok && std::isfinite(number) ? std::optional<double>(number) : std::nullopt;
}

std::optional<std::int64_t> integerOf(const QString &text)
{
    bool ok = false;
    const qlonglong number = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<std::int64_t>(number) : std::nullopt;
}

/// The controls of the Screen page inside the "Screen Fonts / Scale" group.
bool inFontGroup(const std::string &name) { return name.starts_with("F_Font") || name == "F_FormScale"; }

const char *const SpotClassNames[] = {"New Country", "New Mode", "New band / mode", "Not cnf, different call",
                                      "Nothing special", "No interest"};

QColor colourOf(std::int32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }
std::int32_t bgrOf(const QColor &colour) { return colour.red() | (colour.green() << 8) | (colour.blue() << 16); }

} // namespace

TSetupDialog::TSetupDialog(WindowHost &host, SetupFileChooser *chooser, QWidget *parent)
    : QDialog(parent), m_host(host), m_copy(host.Context().Config())
{
    setObjectName(QStringLiteral("SetupDialog"));
    setWindowTitle(QStringLiteral("Setup Parameters"));
    if (!chooser)
        m_defaultChooser = std::make_unique<QtSetupFileChooser>();
    m_chooser = chooser ? chooser : m_defaultChooser.get();
    m_pages = SetupPages(FindSetupChoices(m_copy), m_copy.DefQSO_ShowBandMHz);
    buildPages();
    for (int page = 0; page < static_cast<int>(m_pages.size()); ++page)
        loadPage(page);
    m_radioNotes = ScreenText(ReadRadioSummary(m_copy.Hardware_RadioType.str()).notes);
    if (auto *notes = findChild<QPlainTextEdit *>(QStringLiteral("F_RadioNotes")))
        notes->setPlainText(m_radioNotes);
    showRadioDefaults();
    host.Windows().ApplyWindowStyle(this);
}

TSetupDialog::~TSetupDialog() = default;

// --- building ---------------------------------------------------------------------------

void TSetupDialog::buildPages()
{
    auto *layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SetupPages"));
    layout->addWidget(m_tabs);
    m_bound.resize(m_pages.size());
    for (const SetupPage &page : m_pages)
        m_tabs->addTab(buildPage(page), QString::fromStdString(page.caption));
    connect(m_tabs, &QTabWidget::currentChanged, this, &TSetupDialog::pageChanged);

    auto *buttons = new QHBoxLayout;
    auto button = [&](const char *name, const char *caption, void (TSetupDialog::*slot)()) {
        auto *b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
    };
    button("WriteIni", "Write INI File", &TSetupDialog::WriteIniFile);
    button("MergeIni", "Merge INI file", &TSetupDialog::MergeIniFile);
    buttons->addStretch();
    button("SaveExit", "Save Changes and Exit", &TSetupDialog::SaveAndExit);
    button("CancelExit", "Cancel Changes and Exit", &TSetupDialog::CancelAndExit);
    layout->addLayout(buttons);
}

QWidget *TSetupDialog::buildPage(const SetupPage &page)
{
    const auto index = static_cast<std::size_t>(&page - m_pages.data());
    auto *pageWidget = new QWidget;
    pageWidget->setObjectName(QString::fromStdString(page.caption));
    auto *form = new QFormLayout(pageWidget);
    QFormLayout *fontForm = nullptr;
    for (const SetupControl &control : page.controls) {
        QFormLayout *target = form;
        if (page.caption == "Screen" && inFontGroup(control.name)) {
            if (!fontForm) {
                auto *group = new QGroupBox(QStringLiteral("Screen Fonts / Scale"), pageWidget);
                group->setObjectName(QStringLiteral("ScreenFonts"));
                group->setEnabled(m_copy.Personal_UserLevel >= 2);
                fontForm = new QFormLayout(group);
                form->addRow(group);
            }
            target = fontForm;
        }
        QWidget *widget = makeWidget(control, target->parentWidget());
        if (control.kind == ControlKind::Check)
            target->addRow(QString(), widget);
        else
            target->addRow(QString::fromStdString(control.caption), widget);
        m_bound[index].push_back({&control, widget});
    }
    addExtras(page, pageWidget);
    return pageWidget;
}

QWidget *TSetupDialog::makeWidget(const SetupControl &control, QWidget *parent)
{
    const QString name = QString::fromStdString(control.name);
    QWidget *widget = nullptr;
    switch (control.kind) {
    case ControlKind::Text: {
        auto *edit = new QLineEdit(parent);
        edit->setMaxLength(static_cast<int>(control.capacity));
        widget = edit;
        break;
    }
    case ControlKind::Integer:
    case ControlKind::Real: {
        auto *edit = new QLineEdit(parent);
        connect(edit, &QLineEdit::editingFinished, this, [this, &control, edit] { checkNumberField(control, edit); });
        widget = edit;
        break;
    }
    case ControlKind::Choice:
    case ControlKind::TextChoice: {
        auto *box = new QComboBox(parent);
        for (const std::string &item : control.items)
            box->addItem(ScreenText(item));
        widget = box;
        break;
    }
    case ControlKind::Check: widget = new QCheckBox(QString::fromStdString(control.caption), parent); break;
    case ControlKind::CheckList: {
        auto *list = new QListWidget(parent);
        for (const std::string &item : control.items) {
            auto *row = new QListWidgetItem(QString::fromStdString(item), list);
            row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
            row->setCheckState(Qt::Unchecked);
        }
        list->setMaximumHeight(120);
        widget = list;
        break;
    }
    }
    widget->setObjectName(name);
    return widget;
}

void TSetupDialog::addExtras(const SetupPage &page, QWidget *pageWidget)
{
    auto *form = static_cast<QFormLayout *>(pageWidget->layout());
    // The page is not in the dialog yet: its controls are found on it.
    const auto field = [pageWidget](const char *name) { return pageWidget->findChild<QWidget *>(QString::fromLatin1(name)); };
    if (page.caption == "Personal") {
        for (auto [name, caption, slot] : {std::tuple{"CalcFromGrid", "Calculate from Grid", &TSetupDialog::CalculateFromGrid},
                                           std::tuple{"CalcFromLongLat", "Calculate from Long/Lat",
                                                      &TSetupDialog::CalculateFromLongLat}}) {
            auto *b = new QPushButton(QString::fromLatin1(caption), pageWidget);
            b->setObjectName(QString::fromLatin1(name));
            b->setAutoDefault(false);
            connect(b, &QPushButton::clicked, this, slot);
            form->addRow(QString(), b);
        }
    } else if (page.caption == "QSO") {
        auto *band = static_cast<QComboBox *>(field("Personal_band"));
        connect(band, &QComboBox::currentIndexChanged, this, &TSetupDialog::cutoffBandChanged);
    } else if (page.caption == "Radio") {
        auto *notes = new QPlainTextEdit(pageWidget);
        notes->setObjectName(QStringLiteral("F_RadioNotes"));
        notes->setReadOnly(true);
        notes->setMaximumHeight(60);
        form->addRow(QStringLiteral("Notes"), notes);
        connect(static_cast<QComboBox *>(field("Hardware_RadioType")), &QComboBox::currentIndexChanged, this,
                &TSetupDialog::radioTypeChanged);
        connect(static_cast<QCheckBox *>(field("hardware_defaultrate")), &QCheckBox::toggled, this,
                &TSetupDialog::showRadioDefaults);
    } else if (page.caption == "Packet1") {
        field("Packet_OkPrefixes")->installEventFilter(this);
    } else if (page.caption == "Packet2") {
        addSpotColours(pageWidget);
    } else if (page.caption == "Screen" || page.caption == "Rep/Lab" || page.caption == "Ext Data") {
        for (const char *name : {"F_FontBName", "F_FontIName", "F_FontLName", "F_RepFontName", "F_ExtQSLProg"})
            if (QWidget *w = field(name))
                w->installEventFilter(this);
        if (page.caption == "Ext Data")
            addOnlineSettings(pageWidget);
    }
}

void TSetupDialog::addOnlineSettings(QWidget *pageWidget)
{
    m_online = new TOnlineSettingsEditor(pageWidget);
    m_onlineShown = LoadOnlineSettings(OnlineSettingsFileName());
    m_online->Show(m_onlineShown);
    static_cast<QFormLayout *>(pageWidget->layout())->addRow(m_online);
}

void TSetupDialog::saveOnlineSettings()
{
    if (!m_online)
        return;
    OnlineCallbookSettings edited = m_online->Settings();
    if (edited == m_onlineShown)
        return; // unchanged: the file stays as it is (or absent)
    if (SaveOnlineSettingsOrTell(edited, OnlineSettingsFileName(), m_host.Notifier()))
        m_onlineShown = edited;
}

void TSetupDialog::addSpotColours(QWidget *pageWidget)
{
    auto *row = new QHBoxLayout;
    for (int colourClass = 1; colourClass <= 6; ++colourClass) {
        auto *sample = new QLabel(QString::fromLatin1(SpotClassNames[colourClass - 1]), pageWidget);
        sample->setObjectName(QStringLiteral("SpotColor%1").arg(colourClass));
        sample->setProperty("colourClass", colourClass);
        sample->setAutoFillBackground(true);
        sample->setFrameStyle(QFrame::Box);
        sample->installEventFilter(this);
        row->addWidget(sample);
    }
    static_cast<QFormLayout *>(pageWidget->layout())->addRow(QStringLiteral("Spot colours"), row);
    showSpotColours();
}

QWidget *TSetupDialog::field(const char *name) const { return findChild<QWidget *>(QString::fromLatin1(name)); }

// --- pages and the copy -------------------------------------------------------------------

void TSetupDialog::ShowPage(const QString &caption)
{
    for (int i = 0; i < m_tabs->count(); ++i)
        if (m_tabs->tabText(i) == caption) {
            m_tabs->setCurrentIndex(i);
            return;
        }
    m_tabs->setCurrentIndex(0);
}

const TConfigRecord &TSetupDialog::Copy()
{
    storePage(m_shownPage);
    return m_copy;
}

void TSetupDialog::pageChanged(int index)
{
    storePage(m_shownPage);
    m_shownPage = index;
    loadPage(index);
}

void TSetupDialog::loadPage(int index)
{
    m_loading = true;
    for (const Bound &bound : m_bound[static_cast<std::size_t>(index)])
        loadControl(bound);
    m_loading = false;
}

void TSetupDialog::storePage(int index)
{
    for (const Bound &bound : m_bound[static_cast<std::size_t>(index)])
        storeControl(bound);
}

void TSetupDialog::loadControl(const Bound &bound)
{
    const SetupControl &control = *bound.control;
    if (control.name == "Personal_band") {
        static_cast<QComboBox *>(bound.widget)->setCurrentIndex(m_cutoffBand - 1);
        return;
    }
    if (control.name == "Personal_CWcutoff") {
        static_cast<QLineEdit *>(bound.widget)->setText(realText(m_copy.Personal_CWcutoff[static_cast<std::size_t>(m_cutoffBand)]));
        return;
    }
    const ControlValue value = control.get(m_copy);
    switch (control.kind) {
    case ControlKind::Text: static_cast<QLineEdit *>(bound.widget)->setText(ScreenText(std::get<std::string>(value))); break;
    case ControlKind::Integer:
        static_cast<QLineEdit *>(bound.widget)->setText(QString::number(std::get<std::int64_t>(value)));
        break;
    case ControlKind::Real: static_cast<QLineEdit *>(bound.widget)->setText(realText(std::get<double>(value))); break;
    case ControlKind::Choice:
    case ControlKind::TextChoice: static_cast<QComboBox *>(bound.widget)->setCurrentIndex(control.ItemOf(m_copy)); break;
    case ControlKind::Check: static_cast<QCheckBox *>(bound.widget)->setChecked(std::get<std::int64_t>(value) != 0); break;
    case ControlKind::CheckList: {
        auto *list = static_cast<QListWidget *>(bound.widget);
        const auto &marks = std::get<std::vector<bool>>(value);
        for (int i = 0; i < list->count() && i < static_cast<int>(marks.size()); ++i)
            list->item(i)->setCheckState(marks[static_cast<std::size_t>(i)] ? Qt::Checked : Qt::Unchecked);
        break;
    }
    }
}

void TSetupDialog::storeControl(const Bound &bound)
{
    const SetupControl &control = *bound.control;
    if (control.name == "Personal_band")
        return; // it only chooses the cutoff shown
    if (control.name == "Personal_CWcutoff") {
        if (auto kHz = realOf(static_cast<QLineEdit *>(bound.widget)->text()); kHz && control.InRange(*kHz))
            m_copy.Personal_CWcutoff[static_cast<std::size_t>(m_cutoffBand)] = *kHz;
        return;
    }
    switch (control.kind) {
    case ControlKind::Text: control.set(m_copy, CoreText(static_cast<QLineEdit *>(bound.widget)->text())); break;
    case ControlKind::Integer: {
        auto *edit = static_cast<QLineEdit *>(bound.widget);
        // A value out of range was refused when the field was left; the setting keeps its value.
        if (auto number = integerOf(edit->text()); number && !edit->isReadOnly() && control.InRange(static_cast<double>(*number)))
            control.set(m_copy, *number);
        break;
    }
    case ControlKind::Real:
        if (auto number = realOf(static_cast<QLineEdit *>(bound.widget)->text()); number && control.InRange(*number))
            control.set(m_copy, *number);
        break;
    case ControlKind::Choice:
    case ControlKind::TextChoice: control.SetItem(m_copy, static_cast<QComboBox *>(bound.widget)->currentIndex()); break;
    case ControlKind::Check:
        control.set(m_copy, std::int64_t{static_cast<QCheckBox *>(bound.widget)->isChecked() ? 1 : 0});
        break;
    case ControlKind::CheckList: {
        auto *list = static_cast<QListWidget *>(bound.widget);
        std::vector<bool> marks;
        for (int i = 0; i < list->count(); ++i)
            marks.push_back(list->item(i)->checkState() == Qt::Checked);
        control.set(m_copy, marks);
        break;
    }
    }
}

bool TSetupDialog::checkNumberField(const SetupControl &control, QWidget *widget)
{
    auto *edit = static_cast<QLineEdit *>(widget);
    if (edit->isReadOnly())
        return true;
    const std::optional<double> number = realOf(edit->text());
    const bool whole = control.kind != ControlKind::Integer || integerOf(edit->text());
    if (number && whole && control.InRange(*number))
        return true;
    m_host.Notifier().warning(control.RangeMessage());
    return false;
}

// --- paired and dependent controls ------------------------------------------------------------

void TSetupDialog::cutoffBandChanged(int item)
{
    if (m_loading || item < 0)
        return;
    auto *cutoff = static_cast<QLineEdit *>(field("Personal_CWcutoff"));
    if (auto kHz = realOf(cutoff->text()); kHz && *kHz >= 0 && *kHz <= 1e9)
        m_copy.Personal_CWcutoff[static_cast<std::size_t>(m_cutoffBand)] = *kHz;
    m_cutoffBand = item + 1;
    cutoff->setText(realText(m_copy.Personal_CWcutoff[static_cast<std::size_t>(m_cutoffBand)]));
}

void TSetupDialog::radioTypeChanged()
{
    if (m_loading)
        return;
    auto *radio = static_cast<QComboBox *>(field("Hardware_RadioType"));
    const SetupPage &page = m_pages[static_cast<std::size_t>(m_tabs->indexOf(radio->parentWidget()))];
    const SetupControl *control = page.Find("Hardware_RadioType");
    const int item = radio->currentIndex();
    const std::string name = control && item >= 0 ? control->textValues[static_cast<std::size_t>(item)] : std::string();
    const QString notes = ScreenText(ReadRadioSummary(name).notes);
    static_cast<QPlainTextEdit *>(field("F_RadioNotes"))->setPlainText(notes);
    if (notes != m_radioNotes)
        static_cast<QCheckBox *>(field("hardware_defaultrate"))->setChecked(true);
    m_radioNotes = notes;
    showRadioDefaults();
}

void TSetupDialog::showRadioDefaults()
{
    auto *baud = static_cast<QLineEdit *>(field("Hardware_baudrate"));
    const bool useDefault = static_cast<QCheckBox *>(field("hardware_defaultrate"))->isChecked();
    baud->setReadOnly(useDefault);
    if (!useDefault) {
        baud->setText(QString::number(m_copy.Hardware_baudrate)); // the rate of its own again
        return;
    }
    auto *radio = static_cast<QComboBox *>(field("Hardware_RadioType"));
    baud->setText(QString::number(ReadRadioSummary(CoreText(radio->currentIndex() > 0 ? radio->currentText() : QString())).baud));
}

void TSetupDialog::CalculateFromGrid()
{
    const std::string grid = CoreText(static_cast<QLineEdit *>(field("Personal_grid"))->text().trimmed());
    if (grid.empty())
        return;
    std::optional<GeoPoint> point = GridCentre(grid);
    if (!point && grid.size() == 2 && ValidGrid(grid)) // a field: its centre
        point = GeoPoint{(std::toupper(grid[1]) - 'A') * 10.0 - 85.0, (std::toupper(grid[0]) - 'A') * 20.0 - 170.0};
    if (!point) {
        m_host.Notifier().warning("Bad Grid locator");
        return;
    }
    static_cast<QLineEdit *>(field("Personal_Longitude"))->setText(realText(std::fabs(point->longitude)));
    static_cast<QLineEdit *>(field("Personal_Latitude"))->setText(realText(std::fabs(point->latitude)));
    static_cast<QComboBox *>(field("Personal_longsign"))->setCurrentIndex(point->longitude < 0 ? 1 : 0);
    static_cast<QComboBox *>(field("Personal_latsign"))->setCurrentIndex(point->latitude < 0 ? 1 : 0);
}

void TSetupDialog::CalculateFromLongLat()
{
    const std::optional<double> longitude = realOf(static_cast<QLineEdit *>(field("Personal_Longitude"))->text());
    const std::optional<double> latitude = realOf(static_cast<QLineEdit *>(field("Personal_Latitude"))->text());
    if (!longitude || !latitude)
        return;
    const bool west = static_cast<QComboBox *>(field("Personal_longsign"))->currentIndex() == 1;
    const bool south = static_cast<QComboBox *>(field("Personal_latsign"))->currentIndex() == 1;
    const std::string grid = LatLongToGrid(south ? -*latitude : *latitude, west ? -*longitude : *longitude);
    if (!grid.empty())
        static_cast<QLineEdit *>(field("Personal_grid"))->setText(QString::fromStdString(grid));
}

// --- pickers -----------------------------------------------------------------------------------

bool TSetupDialog::eventFilter(QObject *watched, QEvent *event)
{
    const QString name = watched->objectName();
    if (event->type() == QEvent::KeyPress && name == QLatin1String("Packet_OkPrefixes") &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1) {
        appendCountryPrefix();
        return true;
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (name == QLatin1String("F_ExtQSLProg"))
            chooseQslProgram();
        else if (name.endsWith(QLatin1String("Name")))
            chooseFont(static_cast<QWidget *>(watched));
    }
    if (event->type() == QEvent::MouseButtonPress && name.startsWith(QLatin1String("SpotColor")))
        chooseSpotColour(watched->property("colourClass").toInt());
    return QDialog::eventFilter(watched, event);
}

void TSetupDialog::chooseFont(QWidget *nameField)
{
    // The name field's partners: F_FontBName -> F_FontBSize, F_FontBBold; F_RepFontName -> F_RepFontSize.
    QString stem = nameField->objectName();
    stem.chop(4);
    auto *size = findChild<QLineEdit *>(stem + QStringLiteral("Size"));
    auto *bold = findChild<QCheckBox *>(stem + QStringLiteral("Bold"));
    QFont preset(static_cast<QLineEdit *>(nameField)->text(), size ? size->text().toInt() : 10);
    preset.setBold(bold && bold->isChecked());
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, preset, this);
    if (!chosen)
        return;
    static_cast<QLineEdit *>(nameField)->setText(font.family());
    if (size)
        size->setText(QString::number(font.pointSize()));
    if (bold)
        bold->setChecked(font.bold());
}

void TSetupDialog::chooseSpotColour(int colourClass)
{
    if (colourClass < 1 || colourClass > 6)
        return;
    LeI32 &stored = m_copy.SpotColors[static_cast<std::size_t>(colourClass - 1)];
    const QColor colour = QColorDialog::getColor(colourOf(stored), this, QString::fromLatin1(SpotClassNames[colourClass - 1]));
    if (!colour.isValid())
        return;
    stored = bgrOf(colour);
    showSpotColours();
}

void TSetupDialog::showSpotColours()
{
    for (int colourClass = 1; colourClass <= 6; ++colourClass) {
        auto *sample = findChild<QLabel *>(QStringLiteral("SpotColor%1").arg(colourClass));
        if (!sample)
            continue;
        const QColor colour = colourOf(m_copy.SpotColors[static_cast<std::size_t>(colourClass - 1)]);
        QPalette palette = sample->palette();
        // The first two classes show their colour as the background, the others as the text.
        palette.setColor(colourClass <= 2 ? QPalette::Window : QPalette::WindowText, colour);
        sample->setPalette(palette);
    }
}

void TSetupDialog::chooseQslProgram()
{
    auto *program = static_cast<QLineEdit *>(field("F_ExtQSLProg"));
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("QSL manager program"), program->text());
    if (!file.isEmpty())
        program->setText(file);
}

void TSetupDialog::appendCountryPrefix()
{
    const TCountryData &countries = m_host.Context().Countries();
    QStringList entries;
    for (std::int32_t country = 0; country < countries.CountryCount(); ++country)
        entries << ScreenText(countries.CountryPrefix(country)) + QStringLiteral(" - ") + ScreenText(countries.CountryName(country));
    bool chosen = false;
    const QString entry = QInputDialog::getItem(this, QStringLiteral("Country Listing"), QStringLiteral("Country"),
                                                entries, 0, false, &chosen);
    if (!chosen || entry.isEmpty())
        return;
    auto *prefixes = static_cast<QLineEdit *>(field("Packet_OkPrefixes"));
    const QString prefix = entry.section(QStringLiteral(" - "), 0, 0);
    prefixes->setText(prefixes->text().isEmpty() ? prefix : prefixes->text() + QLatin1Char(',') + prefix);
}

// --- the commands ---------------------------------------------------------------------------------

void TSetupDialog::SaveAndExit()
{
    storePage(m_shownPage);
    saveOnlineSettings(); // before SettingsChanged, which has the lookups read them again
    PutSettingsInForce(m_host, m_copy, m_merged);
    accept();
}

void TSetupDialog::CancelAndExit() { reject(); }

void TSetupDialog::WriteIniFile()
{
    storePage(m_shownPage);
    const QString file = m_chooser->IniToWrite(this, QString::fromStdString(DataFileName(DataFile::IniExport)));
    if (file.isEmpty())
        return;
    // Open tool windows write where they are now.
    TConfigRecord &live = m_host.Context().Config();
    for (int id = 0; id < CompanionCount; ++id)
        if (QWidget *window = m_host.Companion(static_cast<CompanionId>(id))) {
            const int k = CompanionPosition(static_cast<CompanionId>(id));
            m_host.Windows().SaveWindowPos(window, k);
            m_copy.WindowPos[static_cast<std::size_t>(k)] = live.WindowPos[static_cast<std::size_t>(k)];
        }
    try {
        WriteSetupIniFile(m_copy, m_pages, CoreText(file));
    } catch (const EFileError &e) {
        m_host.Notifier().error(std::string("The INI file could not be written:\r") + e.what());
    }
}

void TSetupDialog::MergeIniFile()
{
    const QString file = m_chooser->IniToMerge(this, QString::fromStdString(SaveDir()));
    if (file.isEmpty())
        return;
    storePage(m_shownPage);
    const IniMergeReport report = MergeSetupIniFile(m_copy, m_pages, CoreText(file));
    if (!report.Merged()) {
        m_host.Notifier().error(CoreText(file) + "\r" + report.Text());
        return;
    }
    m_merged = true;
    for (int page = 0; page < static_cast<int>(m_pages.size()); ++page)
        loadPage(page);
    showSpotColours();
    if (!report.notes.empty())
        m_host.Notifier().warning(CoreText(file) + " was merged; passed over:\r" + report.Text());
}

} // namespace vellum
