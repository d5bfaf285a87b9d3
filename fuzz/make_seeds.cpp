// Writes the seed inputs of every fuzz target: make_seeds <folder> creates
// <folder>/opendib, <folder>/arrangement, <folder>/cache, <folder>/iccprofile,
// <folder>/jpegcarry, <folder>/ordercsv and <folder>/metadata.
#include "FuzzSupport.h"
#include "SeedFiles.h"

#include <QDir>

#include <cstdio>

namespace {

bool writeAll(const QString &folder, const std::vector<Seeds::File> &files, bool withCode)
{
    if (!QDir().mkpath(folder))
        return false;
    for (const Seeds::File &f : files) {
        QByteArray bytes = f.Bytes;
        if (withCode) {
            // Once under its own code, once for the content to decide.
            const QByteArray own = char(Seeds::ByteForFormatCode(f.FormatCode)) + bytes;
            const QByteArray any = char(Seeds::ByteForFormatCode(0)) + bytes;
            if (!Fuzz::WriteFile(folder + f.Name, reinterpret_cast<const std::uint8_t *>(own.constData()),
                                 std::size_t(own.size())) ||
                !Fuzz::WriteFile(folder + QStringLiteral("auto-") + f.Name,
                                 reinterpret_cast<const std::uint8_t *>(any.constData()), std::size_t(any.size())))
                return false;
        } else if (!Fuzz::WriteFile(folder + f.Name, reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                    std::size_t(bytes.size()))) {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds <folder>\n");
        return 2;
    }
    Fuzz::InitApplication();
    const QString root = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    const std::vector<Seeds::File> pictures = Seeds::Pictures();
    std::vector<QString> names;
    for (const Seeds::File &f : pictures)
        names.push_back(f.Name);
    const bool ok = writeAll(root + QStringLiteral("opendib/"), pictures, true)
        && writeAll(root + QStringLiteral("arrangement/"), Seeds::Arrangements(names), false)
        && writeAll(root + QStringLiteral("cache/"), Seeds::Caches(), false)
        && writeAll(root + QStringLiteral("iccprofile/"), Seeds::Profiles(), false)
        && writeAll(root + QStringLiteral("jpegcarry/"), Seeds::Jpegs(), false)
        && writeAll(root + QStringLiteral("ordercsv/"), Seeds::OrderLists(), false)
        && writeAll(root + QStringLiteral("metadata/"), Seeds::Metadata(), false);
    if (!ok) {
        std::fprintf(stderr, "make_seeds: cannot write below %s\n", argv[1]);
        return 1;
    }
    return 0;
}
