#pragma once
// Check value of a file: a hash of its size, modification time (nanoseconds)
// and first and last 64 KiB, so that an unchanged file matches and a replaced
// or edited one does not, without reading the whole file.
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

class QFile;

// Empty when the path is not a readable regular file.
[[nodiscard]] std::optional<std::int32_t> FileCheck(const QString& path);
// The same of a file open for reading, read from its start and left there, so
// that the caller can go on to decode the very file it checked.
[[nodiscard]] std::optional<std::int32_t> FileCheck(QFile& file);

// A 64-bit hash of every byte of a stream fed in pieces of any size, to see
// that a file read twice gave the same bytes. Not a defence against forged
// files: it runs at memory speed, several times faster than a digest.
class ContentHash {
public:
    void addData(const char *data, qsizetype size);
    void addData(const QByteArray &bytes) { addData(bytes.constData(), bytes.size()); }
    [[nodiscard]] QByteArray result() const;

private:
    void stripe(const unsigned char *p);
    std::uint64_t Lanes[4] = {0x60ea27eeadc0b5d6ull, 0xc2b2ae3d27d4eb4full, 0, 0x61c8864e7a143579ull};
    unsigned char Tail[32] = {};
    int TailSize = 0;
    std::uint64_t Length = 0;
};
