#include "arrange/CaptionTextsDialog.h"

#include "arrange/CaptionEdit.h"
#include "document/ArrangementDocument.h"
#include "platform/ColorBox.h"
#include "platform/DeviceContext.h"
#include "platform/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

CaptionTextsDialog::CaptionTextsDialog(const CaptionSettings &s, const TCaptionFont &captionFont, QWidget *parent)
    : QDialog(parent)
    , PageFont(s.OwnFont ? s.PageFont : captionFont)
{
    setWindowTitle(tr("Captions and page texts"));
    TemplateEd = new CaptionEdit(this);
    TemplateEd->setText(s.Template);
    TemplateEd->setToolTip(tr("Shown under every picture without a caption of its own"));
    FitCombo = new QComboBox(this);
    FitCombo->addItems({tr("Cut at the frame's edges"), tr("End with an ellipsis"), tr("Wrap at words")});
    FitCombo->setCurrentIndex(int(s.Fit));
    HeaderEd = new CaptionEdit(this);
    HeaderEd->setText(s.Header);
    HeaderAlignCombo = alignCombo(s.HeaderAlign);
    FooterEd = new CaptionEdit(this);
    FooterEd->setText(s.Footer);
    FooterAlignCombo = alignCombo(s.FooterAlign);
    OwnFontCheck = new QCheckBox(tr("Own font for header and footer"), this);
    OwnFontCheck->setChecked(s.OwnFont);
    PageFontBtn = new QPushButton(tr("Choose font..."), this);
    PageFontBtn->setEnabled(s.OwnFont);

    auto *tokens = new QLabel(tr("Tokens: {name} {folder} {date} {time} {camera} {lens} {exposure} {size} "
                                 "{caption} {page} {pages} {file} {printed}. Ctrl+Enter starts a new line."),
                              this);
    tokens->setWordWrap(true);
    auto *form = new QFormLayout;
    form->addRow(tr("Caption for every picture:"), TemplateEd);
    form->addRow(tr("Long lines:"), FitCombo);
    auto *header = new QHBoxLayout;
    header->addWidget(HeaderEd, 1);
    header->addWidget(HeaderAlignCombo);
    form->addRow(tr("Page header:"), header);
    auto *footer = new QHBoxLayout;
    footer->addWidget(FooterEd, 1);
    footer->addWidget(FooterAlignCombo);
    form->addRow(tr("Page footer:"), footer);
    auto *font = new QHBoxLayout;
    font->addWidget(OwnFontCheck);
    font->addWidget(PageFontBtn);
    font->addStretch(1);
    form->addRow(font);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tokens);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 70);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(OwnFontCheck, &QCheckBox::toggled, PageFontBtn, &QWidget::setEnabled);
    connect(PageFontBtn, &QPushButton::clicked, this, &CaptionTextsDialog::choosePageFont);
}

QComboBox *CaptionTextsDialog::alignCombo(PageTextAlign align)
{
    auto *combo = new QComboBox(this);
    combo->addItems({tr("Left"), tr("Centre"), tr("Right")});
    combo->setCurrentIndex(int(align));
    return combo;
}

void CaptionTextsDialog::choosePageFont()
{
    QFont font = QFontFromCaption(PageFont);
    if (PageFont.Size > 0)
        font.setPointSize(PageFont.Size);
    QColor color = ColorFromWindows(PageFont.Color);
    if (Dialogs::fontDialog(this, &font, &color))
        PageFont = CaptionFromFont(font, color, PageFont);
}

CaptionSettings CaptionTextsDialog::settings() const
{
    CaptionSettings s;
    s.Template = TemplateEd->text();
    s.Fit = CaptionFit(std::clamp(FitCombo->currentIndex(), 0, 2));
    s.Header = HeaderEd->text();
    s.HeaderAlign = PageTextAlign(std::clamp(HeaderAlignCombo->currentIndex(), 0, 2));
    s.Footer = FooterEd->text();
    s.FooterAlign = PageTextAlign(std::clamp(FooterAlignCombo->currentIndex(), 0, 2));
    s.OwnFont = OwnFontCheck->isChecked();
    if (s.OwnFont)
        s.PageFont = PageFont;
    return s;
}

bool EditCaptionTexts(ArrangementDocument &doc, QWidget *parent)
{
    CaptionTextsDialog dialog(doc.options().Captions, doc.options().Font, parent);
    if (Dialogs::execDialog(&dialog) != QDialog::Accepted)
        return false;
    const CaptionSettings chosen = dialog.settings();
    if (chosen == doc.options().Captions)
        return false;
    ArrangementOptions o = doc.options();
    o.Captions = chosen;
    doc.setOptions(o, CaptionTextsDialog::tr("Captions and page texts"));
    return true;
}
