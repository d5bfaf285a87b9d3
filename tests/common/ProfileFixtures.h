#pragma once
// Printer profiles made by lcms2 itself, for the colour tests.
#include <QByteArray>

#include <lcms2.h>

namespace ProfileFixtures {

// The profile's bytes; the profile is closed.
inline QByteArray Saved(cmsHPROFILE p)
{
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(p, nullptr, &size);
    QByteArray bytes(qsizetype(size), '\0');
    cmsSaveProfileToMem(p, bytes.data(), &size);
    cmsCloseProfile(p);
    return bytes;
}

// An RGB profile with the given white and primaries (x, y) and a 2.2 gamma;
// with mediaWhite, the paper's white recorded as that.
inline QByteArray Rgb(const cmsCIExyY& white, const cmsCIExyYTRIPLE& primaries, const cmsCIEXYZ* mediaWhite = nullptr)
{
    cmsToneCurve* gamma = cmsBuildGamma(nullptr, 2.2);
    cmsToneCurve* curves[3] = { gamma, gamma, gamma };
    cmsHPROFILE p = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsFreeToneCurve(gamma);
    if (mediaWhite)
        cmsWriteTag(p, cmsSigMediaWhitePointTag, mediaWhite);
    return Saved(p);
}

// A printer profile of a dull paper, whose white reflects 80 % of the light:
// absolute colorimetric prints light greys as white, the other intents keep them.
inline QByteArray DullPaper()
{
    const cmsCIEXYZ paperWhite { 0.9642 * 0.8, 0.8, 0.8249 * 0.8 };
    return Rgb(*cmsD50_xyY(), { { 0.64, 0.33, 1 }, { 0.30, 0.60, 1 }, { 0.15, 0.06, 1 } }, &paperWhite);
}

} // namespace ProfileFixtures
