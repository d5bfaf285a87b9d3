#include "platform/ColorBox.h"

#include "platform/WinTypes.h"

#include <QApplication>
#include <QColor>
#include <QPainter>
#include <QPalette>
#include <QPixmap>

namespace {
struct NamedColor {
    const char *name;
    std::int32_t value;
};
const NamedColor kColors[] = {
    {QT_TRANSLATE_NOOP("TColorBox", "White"), std::int32_t(RGB(255, 255, 255))},
    {QT_TRANSLATE_NOOP("TColorBox", "Black"), std::int32_t(RGB(0, 0, 0))},
    {QT_TRANSLATE_NOOP("TColorBox", "Maroon"), std::int32_t(RGB(128, 0, 0))},
    {QT_TRANSLATE_NOOP("TColorBox", "Green"), std::int32_t(RGB(0, 128, 0))},
    {QT_TRANSLATE_NOOP("TColorBox", "Olive"), std::int32_t(RGB(128, 128, 0))},
    {QT_TRANSLATE_NOOP("TColorBox", "Navy"), std::int32_t(RGB(0, 0, 128))},
    {QT_TRANSLATE_NOOP("TColorBox", "Purple"), std::int32_t(RGB(128, 0, 128))},
    {QT_TRANSLATE_NOOP("TColorBox", "Teal"), std::int32_t(RGB(0, 128, 128))},
    {QT_TRANSLATE_NOOP("TColorBox", "Gray"), std::int32_t(RGB(128, 128, 128))},
    {QT_TRANSLATE_NOOP("TColorBox", "Silver"), std::int32_t(RGB(192, 192, 192))},
    {QT_TRANSLATE_NOOP("TColorBox", "Red"), std::int32_t(RGB(255, 0, 0))},
    {QT_TRANSLATE_NOOP("TColorBox", "Lime"), std::int32_t(RGB(0, 255, 0))},
    {QT_TRANSLATE_NOOP("TColorBox", "Yellow"), std::int32_t(RGB(255, 255, 0))},
    {QT_TRANSLATE_NOOP("TColorBox", "Blue"), std::int32_t(RGB(0, 0, 255))},
    {QT_TRANSLATE_NOOP("TColorBox", "Fuchsia"), std::int32_t(RGB(255, 0, 255))},
    {QT_TRANSLATE_NOOP("TColorBox", "Aqua"), std::int32_t(RGB(0, 255, 255))},
};

QIcon swatch(const QColor &c)
{
    QPixmap pm(16, 12);
    pm.fill(c);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 15, 11);
    return QIcon(pm);
}
} // namespace

QColor ColorFromWindows(std::int32_t windowsColor)
{
    const auto v = std::uint32_t(windowsColor);
    if ((v & 0xFF000000u) == 0xFF000000u) {
        const QPalette pal = QApplication::palette();
        switch (v & 0xFF) {
        case 5:
            return pal.color(QPalette::Base);
        case 8:
            return pal.color(QPalette::WindowText);
        case 12:
            return pal.color(QPalette::Dark);
        case 15:
            return pal.color(QPalette::Button);
        default:
            return pal.color(QPalette::WindowText);
        }
    }
    return QColor(GetRValue(v), GetGValue(v), GetBValue(v));
}

std::int32_t WindowsFromColor(const QColor &color)
{
    return std::int32_t(RGB(color.red(), color.green(), color.blue()));
}

TColorBox::TColorBox(QWidget *parent)
    : QComboBox(parent)
{
    for (const NamedColor &c : kColors)
        addItem(swatch(ColorFromWindows(c.value)), tr(c.name), c.value);
}

std::int32_t TColorBox::Selected() const
{
    return currentIndex() < 0 ? std::int32_t(RGB(255, 255, 255)) : currentData().toInt();
}

void TColorBox::setSelected(std::int32_t windowsColor)
{
    int index = findData(windowsColor);
    if (index < 0) {
        addItem(swatch(ColorFromWindows(windowsColor)), tr("Custom"), windowsColor);
        index = count() - 1;
    }
    setCurrentIndex(index);
}
