#pragma once
// The label editor (TLabelEditor): the label list with the two custom layouts
// open to changes and the ready-made ones shown read-only, lengths in inches or
// millimetres, the fonts, "Max QSOs" and the options; Copy, Preview, OK, Cancel.
// Cancel puts the configuration back as it was when the editor opened.

#include "labellayout.h"

#include "config/configrecord.h"

#include <QDialog>

#include <array>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace vellum {

class ProgramContext;

/// Controls: LabelName, LabelWidth, LabelHeight, HorzPitch, VertPitch, SpacingLeft,
/// SpacingTop, PageHeight, PageWidth, HorzShift, VertShift, NrDown, NrAcross,
/// PaperSize, Units, Portrait, CallsignFont, BodyFont, MaxQSOs, UseLines,
/// Commercial, CallRightAligned, Copy, Preview, OK, Cancel.
class TLabelEditor : public QDialog {
    Q_OBJECT
public:
    explicit TLabelEditor(ProgramContext &context, QWidget *parent = nullptr);

    void ChooseLabel(int index);
    void SetUnits(bool metric);
    void Copy();
    /// OK's work, then the sample to the preview.
    void Preview();
    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum Length { Width, Height, HorzPitch, VertPitch, Left, Top, PageHeight, PageWidth, HorzShift, VertShift, LengthCount };
    void buildControls();
    void showLabel(int index);
    /// The shown values into the custom layout shown (if one is).
    void storeShown();
    void storeOptions();
    void chooseFont(TLabelFont &font, QLineEdit *field);
    LabelLayout *shownCustom();
    void updatePageFields();

    ProgramContext &m_context;
    TConfigRecord m_kept;
    std::vector<LabelChoice> m_labels;
    int m_shown = -1;
    QComboBox *m_name = nullptr;
    std::array<QLineEdit *, LengthCount> m_lengths{};
    std::array<QLabel *, 2> m_pageCaptions{};
    QSpinBox *m_down = nullptr;
    QSpinBox *m_across = nullptr;
    QLineEdit *m_paper = nullptr;
    QComboBox *m_units = nullptr;
    QCheckBox *m_portrait = nullptr;
    QLineEdit *m_headFont = nullptr;
    QLineEdit *m_bodyFont = nullptr;
    QSpinBox *m_maxQsos = nullptr;
    QCheckBox *m_useLines = nullptr;
    QCheckBox *m_commercial = nullptr;
    QCheckBox *m_rightAligned = nullptr;
};

} // namespace vellum
