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

} // namespace ProfileFixtures
