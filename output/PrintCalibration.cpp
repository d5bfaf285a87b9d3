#include "output/PrintCalibration.h"

#include "platform/DeviceContext.h"
#include "platform/Printer.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace {
constexpr double MillimetresPerInch = 25.4;

struct PrintCalibrationText {
    Q_DECLARE_TR_FUNCTIONS(PrintCalibrationText)
};

// Draws in printer pixels with lengths given in millimetres.
struct MmPen {
    QPainter &P;
    double PxPerMmX, PxPerMmY;
    [[nodiscard]] double x(double mm) const { return mm * PxPerMmX; }
    [[nodiscard]] double y(double mm) const { return mm * PxPerMmY; }
    void font(double points, bool bold = false) const
    {
        QFont f = P.font();
        f.setPixelSize(std::max(1, int(std::lround(points / 72 * MillimetresPerInch * PxPerMmY))));
        f.setBold(bold);
        P.setFont(f);
    }
};

// Tick length in mm: longer every 5 and 10 mm.
double tickLength(int mm) { return mm % 10 == 0 ? 6 : mm % 5 == 0 ? 4 : 2; }
} // namespace

QTransform CalibrationCorrection(const PrintCalibration &calibration, int dpiX, int dpiY)
{
    const PrintCalibration c = ClampedCalibration(calibration);
    const double offX = c.OffsetX / MillimetresPerInch * dpiX, offY = c.OffsetY / MillimetresPerInch * dpiY;
    return QTransform(1 / c.Scale, 0, 0, 1 / c.Scale, -offX / c.Scale, -offY / c.Scale);
}

QString CalibrationPaperName(const QPageLayout &layout)
{
    return QStringLiteral("%1 %2").arg(layout.pageSize().key(), layout.orientation() == QPageLayout::Landscape
                                                                    ? QStringLiteral("landscape")
                                                                    : QStringLiteral("portrait"));
}

PrintCalibration StoredCalibration(TPrinter &printer)
{
    if (printer.PrintsToFile())
        return {};
    return LoadPrintCalibration(printer.qprinter()->printerName(), CalibrationPaperName(printer.qprinter()->pageLayout()));
}

void ApplyCalibration(TPrinter &printer, const PrintCalibration &calibration)
{
    QPainter *painter = printer.Printing() ? printer.Canvas().painter() : nullptr;
    if (painter && !calibration.isIdentity())
        painter->setWorldTransform(CalibrationCorrection(calibration, printer.LogPixelsX(), printer.LogPixelsY()));
}

double DrawCalibrationPage(TDC &dc, QSize printable, int dpiX, int dpiY, QPointF cornerMm, const QString &heading)
{
    QPainter *painter = dc.painter();
    if (!painter || printable.isEmpty() || dpiX <= 0 || dpiY <= 0)
        return 0;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    const MmPen m{*painter, dpiX / MillimetresPerInch, dpiY / MillimetresPerInch};
    const double widthMm = printable.width() / m.PxPerMmX, heightMm = printable.height() / m.PxPerMmY;
    painter->setPen(QPen(Qt::black, m.x(0.15), Qt::SolidLine, Qt::FlatCap));
    m.font(7);

    // Ticks at whole millimetres from the paper's edge, so a ruler laid on the
    // paper's edge reads the same number where the printer is right.
    const int firstX = int(std::ceil(cornerMm.x())), lastX = int(std::floor(cornerMm.x() + widthMm));
    for (int mm = firstX; mm <= lastX; ++mm) {
        const double x = m.x(mm - cornerMm.x());
        painter->drawLine(QPointF(x, 0), QPointF(x, m.y(tickLength(mm))));
        if (mm % 10 == 0 && mm - cornerMm.x() >= 8)
            painter->drawText(QRectF(x - m.x(5), m.y(6.5), m.x(10), m.y(3.5)), Qt::AlignCenter, QString::number(mm));
    }
    const int firstY = int(std::ceil(cornerMm.y())), lastY = int(std::floor(cornerMm.y() + heightMm));
    for (int mm = firstY; mm <= lastY; ++mm) {
        const double y = m.y(mm - cornerMm.y());
        painter->drawLine(QPointF(0, y), QPointF(m.x(tickLength(mm)), y));
        if (mm % 10 == 0 && mm - cornerMm.y() >= 8)
            painter->drawText(QRectF(m.x(6.5), y - m.y(1.75), m.x(10), m.y(3.5)), Qt::AlignLeft | Qt::AlignVCenter,
                              QString::number(mm));
    }

    // The largest of these squares that leaves room for the rulers and the text.
    double side = 20;
    for (const double s : {100.0, 50.0})
        if (s + 40 <= widthMm && s + 70 <= heightMm) {
            side = s;
            break;
        }
    const QRectF square(m.x((widthMm - side) / 2), m.y(std::max(22.0, (heightMm - side) / 2 - 10)), m.x(side),
                        m.y(side));
    painter->drawRect(square);
    painter->drawText(square, Qt::AlignCenter, PrintCalibrationText::tr("%1 x %1 mm").arg(side));

    const QRectF text(m.x(14), square.bottom() + m.y(6), m.x(std::max(10.0, widthMm - 28)),
                      std::max(0.0, printable.height() - square.bottom() - m.y(8)));
    m.font(11, true);
    painter->drawText(QRectF(m.x(14), m.y(12), text.width(), m.y(6)), Qt::AlignLeft | Qt::AlignTop, heading);
    m.font(9);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
        PrintCalibrationText::tr(
            "Printed without correction. The rulers count millimetres from the paper's edges.\n"
            "1. Lay a ruler on the paper's left edge and measure to a long line of the top ruler: "
            "offset X is what you measure minus the line's number (more: the printer prints too far right).\n"
            "2. The same from the top edge to a long line of the left ruler gives offset Y "
            "(more: the printer prints too low).\n"
            "3. Measure the square's width: the scale is that width divided by %1 mm, in percent.\n"
            "Type the three values in \"Calibrate printer...\".")
            .arg(side));
    painter->restore();
    return side;
}

bool PrintCalibrationPage(TPrinter &printer, const QString &heading)
{
    printer.Title = PrintCalibrationText::tr("Printer calibration");
    if (!printer.BeginDoc())
        return false;
    QPrinter *q = printer.qprinter();
    const QRectF paint = q->pageLayout().paintRect(QPageLayout::Millimeter);
    const QPointF corner = printer.hasFixedPage() ? QPointF() : paint.topLeft();
    DrawCalibrationPage(printer.Canvas(), QSize(printer.PageWidth(), printer.PageHeight()), printer.LogPixelsX(),
                        printer.LogPixelsY(), corner, heading);
    printer.EndDoc();
    return true;
}
