// Any bytes as a printer or monitor profile, as the colour settings and a
// print job take them: checked, described, made into the printing and the
// soft proof conversions, and those applied to a few pixels.
#include "FuzzSupport.h"

#include "picture/ColourManagement.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::InitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > std::size_t(MaxProfileBytes))
        return 0;
    const QByteArray icc(reinterpret_cast<const char *>(data), qsizetype(size));
    const bool fit = ProfileProblem(icc).isEmpty();
    (void)ProfileDescription(icc);
    QString problem;
    const auto print = ColourConversion::ToPrinter(icc, RenderIntent::Perceptual, true, &problem);
    if (bool(print) != fit && !print && problem.isEmpty())
        __builtin_trap(); // a refusal always says why
    const auto proof = ColourConversion::SoftProof(icc, icc, RenderIntent::RelativeColorimetric, false, true,
                                                   qRgb(128, 128, 128), &problem);
    QImage pixels(67, 3, QImage::Format_RGB32);
    for (int x = 0; x < pixels.width(); ++x)
        for (int y = 0; y < pixels.height(); ++y)
            pixels.setPixel(x, y, qRgb(x * 4, y * 120, 255 - x * 3));
    if (print)
        print->apply(pixels);
    if (proof)
        proof->apply(pixels);
    return 0;
}
