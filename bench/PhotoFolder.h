#pragma once
// The benchmarks' folder of 40 photo-like 4000 x 3000 JPEGs, made on first
// use and kept between runs (<temp>/sga-bench-browse unless told otherwise).
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>

namespace PhotoFolder {

constexpr int Files = 40;
constexpr int Width = 4000;
constexpr int Height = 3000;

inline QString defaultFolder() { return QDir::tempPath() + "/sga-bench-browse"; }

inline QString photoPath(const QString& folder, int i)
{
    return folder + QString("/photo%1.jpg").arg(i, 2, 10, QChar('0'));
}

// Smooth colour fields with fine grain, which compresses like a photograph.
inline QImage photoLike(quint32 seed)
{
    QRandomGenerator rng(seed);
    constexpr int GW = 41, GH = 31;
    float grid[GH][GW][3];
    for (auto& row : grid)
        for (auto& cell : row)
            for (float& c : cell)
                c = float(rng.bounded(256));
    QImage img(Width, Height, QImage::Format_RGB32);
    for (int y = 0; y < Height; ++y) {
        const float gy = float(y) * (GH - 1) / Height;
        const int y0 = int(gy);
        const float fy = gy - float(y0);
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < Width; ++x) {
            const float gx = float(x) * (GW - 1) / Width;
            const int x0 = int(gx);
            const float fx = gx - float(x0);
            int rgb[3];
            const int grain = int(rng.bounded(25)) - 12;
            for (int c = 0; c < 3; ++c) {
                const float top = grid[y0][x0][c] * (1 - fx) + grid[y0][x0 + 1][c] * fx;
                const float bottom = grid[y0 + 1][x0][c] * (1 - fx) + grid[y0 + 1][x0 + 1][c] * fx;
                rgb[c] = std::clamp(int(top * (1 - fy) + bottom * fy) + grain, 0, 255);
            }
            line[x] = qRgb(rgb[0], rgb[1], rgb[2]);
        }
    }
    return img;
}

// Writes the photos that are not there yet; false when one cannot be written.
inline bool makeFolder(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return false;
    for (int i = 0; i < Files; ++i) {
        if (QFile::exists(photoPath(folder, i)))
            continue;
        QImageWriter writer(photoPath(folder, i), "jpeg");
        writer.setQuality(90);
        if (!writer.write(photoLike(quint32(1000 + i))))
            return false;
    }
    return true;
}

// A home folder of the benchmark's own for as long as it lives, so no kept
// settings, printer choices or start folder of the user's apply; headless
// unless a platform was asked for.
struct PrivateHome {
    QTemporaryDir Dir;
    PrivateHome()
    {
        qputenv("HOME", Dir.path().toLocal8Bit());
        qunsetenv("XDG_CONFIG_HOME");
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QString path() const { return Dir.path(); }
};

} // namespace PhotoFolder
