#pragma once
// The arrange tab's option pages "Options", "Font settings" and "Picture
// settings": edits that show the document's options and write each change to
// it as one undo step. Millimetre edits have inch twins that follow them.
#include <QObject>

class ArrangementDocument;
class QCheckBox;
class QDoubleSpinBox;
class QPushButton;
class QSpinBox;
class QWidget;
class TColorBox;
struct ArrangementOptions;
struct MainFormSettings;

class OptionsPanel : public QObject
{
    Q_OBJECT
public:
    OptionsPanel(ArrangementDocument &doc, QWidget *parent);

    ArrangementDocument &Doc;
    QWidget *OptionsTab = nullptr; // "Options"
    QWidget *FontTab = nullptr; // "Font settings"
    QWidget *PictureTab = nullptr; // "Picture settings"
    QDoubleSpinBox *MarginEd = nullptr;
    QDoubleSpinBox *MarginInchEd = nullptr;
    QDoubleSpinBox *SpacingEd = nullptr;
    QDoubleSpinBox *SpacingInchEd = nullptr;
    QCheckBox *UseGridCheck = nullptr;
    QCheckBox *ShowGridCheck = nullptr;
    QDoubleSpinBox *GridEd = nullptr;
    QDoubleSpinBox *GridInchEd = nullptr;
    QDoubleSpinBox *DefaultWidthEd = nullptr;
    QDoubleSpinBox *DefaultWidthInchEd = nullptr;
    QDoubleSpinBox *DefaultHeightEd = nullptr;
    QDoubleSpinBox *DefaultHeightInchEd = nullptr;
    QCheckBox *TurnCameraCheck = nullptr; // "Turn pictures as the camera recorded"
    QSpinBox *PictureMemoryEd = nullptr;  // MB for full pictures held for zoomed views and the viewer
    QCheckBox *ShowFNames = nullptr;
    QCheckBox *TransparentCheck = nullptr;
    TColorBox *BackgroundBox = nullptr;
    QPushButton *FontBtn = nullptr; // "Choose font"
    QPushButton *CaptionTextsBtn = nullptr; // "Captions and page texts..."
    QCheckBox *KeepAspectCheck = nullptr;
    QCheckBox *CutDefault = nullptr;
    QCheckBox *EnhanceQualCheck = nullptr;
    QSpinBox *MinQualEd = nullptr;
    bool UpdateGuard = false; // set while one twin writes the other

    // The edits as the document's options show them; a millimetre edit that
    // changes brings its inch twin along (`twins` forces all twins).
    void showOptions(bool twins = false);
    void marginChanged();
    void marginInchChanged();
    void spacingChanged();
    void spacingInchChanged();
    void gridChanged();
    void gridInchChanged();
    void defaultWidthChanged();
    void defaultWidthInchChanged();
    void defaultHeightChanged();
    void defaultHeightInchChanged();
    // Opens the font dialog on the caption font; the choice becomes the caption font.
    void chooseFont();

    // The panel's part of the settings kept between runs.
    void loadSettings(const MainFormSettings &m);
    void saveSettings(MainFormSettings &m) const;

private:
    void createControls(QWidget *parent);
    void layoutPages();
    void connectSignals();
    // The edits' values over the document's other options.
    ArrangementOptions fromEdits() const;
    // Writes the edits to the document as the option `key` names.
    void optionEdited(int key);
};
