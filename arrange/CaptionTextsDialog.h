#pragma once
// "Captions and page texts": the caption template for every frame, what
// becomes of lines wider than their frame, and the pages' header and footer
// with their alignment and font. Works on a copy of the settings; the caller
// writes them to the document as one undo step.
#include "document/Options.h"

#include <QDialog>

class CaptionEdit;
class QCheckBox;
class QComboBox;
class QPushButton;

class CaptionTextsDialog : public QDialog
{
    Q_OBJECT
public:
    CaptionTextsDialog(const CaptionSettings &settings, const TCaptionFont &captionFont, QWidget *parent = nullptr);
    [[nodiscard]] CaptionSettings settings() const;

    CaptionEdit *TemplateEd = nullptr;
    QComboBox *FitCombo = nullptr;
    CaptionEdit *HeaderEd = nullptr;
    QComboBox *HeaderAlignCombo = nullptr;
    CaptionEdit *FooterEd = nullptr;
    QComboBox *FooterAlignCombo = nullptr;
    QCheckBox *OwnFontCheck = nullptr;
    QPushButton *PageFontBtn = nullptr;

private:
    void choosePageFont();
    [[nodiscard]] QComboBox *alignCombo(PageTextAlign align);
    TCaptionFont PageFont;
};

// Opens the dialog on the document's settings; true when they were changed.
class ArrangementDocument;
bool EditCaptionTexts(ArrangementDocument &doc, QWidget *parent);
