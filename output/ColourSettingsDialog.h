#pragma once
// "Colour management": the printer profile, rendering intent, black point
// compensation and monitor profile of one printer and paper, kept in the settings.
#include "platform/Settings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SoftProofView;
class TPrinter;

class ColourDialog : public QDialog
{
    Q_OBJECT
public:
    ColourDialog(const QString &printer, const QString &paper, QWidget *parent = nullptr);

    QLineEdit *ProfileEd = nullptr; // empty = none
    QPushButton *ProfileBtn = nullptr;
    QPushButton *NoProfileBtn = nullptr;
    QLabel *ProfileInfo = nullptr; // the profile's name, or why it cannot be used
    QComboBox *IntentBox = nullptr;
    QCheckBox *BlackPointCheck = nullptr;
    QLineEdit *MonitorEd = nullptr; // empty = the desktop's, else sRGB
    QPushButton *MonitorBtn = nullptr;
    QPushButton *DesktopBtn = nullptr;
    QLabel *MonitorInfo = nullptr;
    QCheckBox *GamutCheck = nullptr;

    void setSettings(const ColourSettings &settings);
    [[nodiscard]] ColourSettings settings() const;
    void chooseProfile();
    void chooseMonitorProfile();
    // Reads the chosen files again and says what they are.
    void describe();

private:
    ColourSettings Kept; // what the dialog does not show stays as it was
};

// Shows the dialog for the printer's current printer and paper and keeps the
// choice; true when it was closed with OK. The soft proof follows the choice.
bool RunColourSetup(QWidget *owner, TPrinter &printer, SoftProofView &proof);
