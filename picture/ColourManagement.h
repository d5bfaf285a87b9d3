#pragma once
// Colour on paper: the program's sRGB pixels converted to a printer's ICC
// profile, and the screen's proof of what that print will look like. The
// transforms are 8 bits a channel and shared by threads; the rows of a
// picture are converted in parallel on the decoding pool.
#include "picture/Dib.h"

#include <QByteArray>
#include <QImage>
#include <QRgb>
#include <QString>

#include <memory>

// The ICC rendering intents, numbered as the profile format numbers them.
enum class RenderIntent { Perceptual = 0, RelativeColorimetric = 1, Saturation = 2, AbsoluteColorimetric = 3 };

// Largest ICC file read: a printer profile is a few megabytes at most.
inline constexpr qint64 MaxProfileBytes = qint64(32) << 20;

// Whether `icc` can serve as a printer (or monitor) profile: a readable ICC
// profile of an RGB device (output, display or colour space class) that
// converts from sRGB. Empty when fit; else a sentence for the user.
[[nodiscard]] QString ProfileProblem(const QByteArray &icc);
// The profile's own description, or an empty string.
[[nodiscard]] QString ProfileDescription(const QByteArray &icc);
// Reads a profile file within MaxProfileBytes; problem says why not.
[[nodiscard]] QByteArray ReadProfileFile(const QString &path, QString *problem);

class ColourConversion {
public:
    ~ColourConversion();
    ColourConversion(const ColourConversion &) = delete;
    ColourConversion &operator=(const ColourConversion &) = delete;

    // sRGB to the printer's profile. Null with *problem set when the profile
    // is unfit or the transform cannot be made.
    [[nodiscard]] static std::shared_ptr<const ColourConversion>
    ToPrinter(const QByteArray &printerIcc, RenderIntent intent, bool blackPoint, QString *problem = nullptr);
    // The proof: sRGB as the printer renders it, shown on the monitor
    // (an empty monitor profile = sRGB). Pixels the printer cannot hold take
    // `warning` when gamutWarning is on.
    [[nodiscard]] static std::shared_ptr<const ColourConversion>
    SoftProof(const QByteArray &printerIcc, const QByteArray &monitorIcc, RenderIntent intent, bool blackPoint,
              bool gamutWarning, QRgb warning, QString *problem = nullptr);

    // Converts an opaque image (RGB32 or ARGB32; other formats are made RGB32)
    // in place, alpha kept.
    void apply(QImage &image) const;
    // Converts a picture: 24-bit rows in place, a palette picture's colours.
    void apply(DIB &dib) const;
    // A converted copy of a picture, which is left as it is; Bits nil when
    // memory ran out.
    [[nodiscard]] DIB converted(const DIB &dib) const;
    // The profile converted to (the printer's, for a PDF's output intent).
    [[nodiscard]] const QByteArray &targetProfile() const { return Target; }
    // The same conversion (to the printer, or a proof) at another intent:
    // this one when the intent is its own.
    [[nodiscard]] std::shared_ptr<const ColourConversion> atIntent(RenderIntent intent) const;

    struct Handles;

private:
    explicit ColourConversion(std::unique_ptr<Handles> handles);
    // To the printer without a monitor profile, else a proof.
    [[nodiscard]] static std::shared_ptr<const ColourConversion>
    made(const QByteArray &printerIcc, const QByteArray *monitorIcc, RenderIntent intent, bool blackPoint,
         bool gamutWarning, QRgb warning, QString *problem);
    std::unique_ptr<Handles> H;
    QByteArray Target;
    RenderIntent Intent = RenderIntent::Perceptual;
    bool BlackPoint = false;
    // A proof's monitor profile and gamut warning.
    bool Proof = false;
    QByteArray Monitor;
    bool GamutWarning = false;
    QRgb Warning = 0;
    std::weak_ptr<const ColourConversion> Self;
};
