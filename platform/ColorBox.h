#pragma once
// A colour combo box holding Windows colour values (0x00BBGGRR, or 0xFF0000nn
// for system colours), with the usual named colours and a custom entry.
#include <QComboBox>

#include <cstdint>

class TColorBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TColorBox(QWidget *parent = nullptr);
    std::int32_t Selected() const;
    void setSelected(std::int32_t windowsColor);
};

// The colour a Windows colour value stands for, system colours mapped to the palette.
class QColor;
QColor ColorFromWindows(std::int32_t windowsColor);
std::int32_t WindowsFromColor(const QColor &color);
