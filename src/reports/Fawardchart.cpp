#include "Fawardchart.h"

#include "Fchartcanvas.h"
#include "chartimage.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "print/Fprintdialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace vellum {

namespace {

/// The picture: the chart above the grid, scaled to the widget.
class ChartPicture : public QWidget {
public:
    ChartPicture(const TAwardChartForm &form, QWidget *parent) : QWidget(parent), m_form(form)
    {
        setObjectName(QStringLiteral("AwardChart_Picture"));
        setMinimumSize(ChartImageWidth / 2, (ChartImageHeight + GridImageHeight) / 2);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        double scale = std::min(width() / double(ChartImageWidth), height() / double(ChartImageHeight + GridImageHeight));
        painter.scale(scale, scale);
        QPainterCanvas canvas(painter);
        DrawAwardChart(canvas, m_form.Chart(), ChartImageWidth, ChartImageHeight);
        painter.translate(0, ChartImageHeight);
        DrawBandYearGrid(canvas, m_form.Grid(), ChartImageWidth, GridImageHeight);
    }

private:
    const TAwardChartForm &m_form;
};

QPushButton *button(QWidget *parent, const char *name, const char *caption)
{
    auto *b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

TAwardChartForm::TAwardChartForm(WindowHost &host, TQsoData &log, QWidget *parent)
    : QWidget(parent, Qt::Window), m_host(host), m_log(log), m_awardChoice(new QComboBox(this)),
      m_picture(new ChartPicture(*this, this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("AwardChartForm"));
    setWindowTitle(QStringLiteral("Award Chart"));
    m_awardChoice->setObjectName(QStringLiteral("AwardChart_Award"));
    m_awardChoice->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_awardChoice->setMinimumContentsLength(6); // "WPX" and "DXCC" with room for the arrow
    for (const char *name : AwardNames)
        m_awardChoice->addItem(QString::fromLatin1(name));
    QPushButton *print = button(this, "AwardChart_Print", "Print");
    QPushButton *png = button(this, "AwardChart_SavePng", "Save PNG");
    QPushButton *svg = button(this, "AwardChart_SaveSvg", "Save SVG");
    auto *top = new QHBoxLayout;
    top->addWidget(m_awardChoice);
    top->addStretch();
    top->addWidget(print);
    top->addWidget(png);
    top->addWidget(svg);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_picture, 1);
    connect(m_awardChoice, &QComboBox::currentIndexChanged, this,
            [this](int index) { ShowAward(static_cast<AwardIndex>(index)); });
    connect(print, &QPushButton::clicked, this, &TAwardChartForm::Print);
    connect(png, &QPushButton::clicked, this, [this] { saveAs(true); });
    connect(svg, &QPushButton::clicked, this, [this] { saveAs(false); });
    host.Handle(HostMessage::LogChanged, this, [this] { Recompute(); });
    Recompute();
    resize(ChartImageWidth + 24, ChartImageHeight + GridImageHeight + 60);
}

TAwardChartForm::~TAwardChartForm() = default;

void TAwardChartForm::ShowAward(AwardIndex award)
{
    m_award = award;
    if (m_awardChoice->currentIndex() != award)
        m_awardChoice->setCurrentIndex(award);
    Recompute();
}

void TAwardChartForm::Recompute()
{
    m_chart = ComputeAwardChart(m_host.Context().Awards(), m_log, m_award);
    m_grid = ComputeBandYearGrid(m_log);
    m_picture->update();
}

void TAwardChartForm::Print()
{
    RunPagePrint(this, std::string(AwardNames[m_award]) + " Award Chart",
                 [this](PrintEngine &engine) { return PrintAwardChart(engine, m_chart, m_grid); }, m_host.Notifier());
}

bool TAwardChartForm::SavePng(const QString &fileName)
{
    std::string error;
    if (WriteChartPng(m_chart, m_grid, fileName.toStdString(), error))
        return true;
    m_host.Notifier().error(error);
    return false;
}

bool TAwardChartForm::SaveSvg(const QString &fileName)
{
    std::string error;
    if (WriteChartSvg(m_chart, m_grid, fileName.toStdString(), error))
        return true;
    m_host.Notifier().error(error);
    return false;
}

void TAwardChartForm::saveAs(bool png)
{
    QString name = QFileDialog::getSaveFileName(this, png ? QStringLiteral("Save PNG") : QStringLiteral("Save SVG"),
                                                QString(), png ? QStringLiteral("PNG pictures (*.png)")
                                                               : QStringLiteral("SVG pictures (*.svg)"));
    if (!name.isEmpty())
        png ? SavePng(name) : SaveSvg(name);
}

} // namespace vellum
