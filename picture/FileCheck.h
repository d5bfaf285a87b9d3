#pragma once
// Check value of a file: a hash of its size, modification time (nanoseconds)
// and first and last 64 KiB, so that an unchanged file matches and a replaced
// or edited one does not, without reading the whole file.
#include <QString>

#include <cstdint>
#include <optional>

class QFile;

// Empty when the path is not a readable regular file.
[[nodiscard]] std::optional<std::int32_t> FileCheck(const QString& path);
// The same of a file open for reading, read from its start and left there, so
// that the caller can go on to decode the very file it checked.
[[nodiscard]] std::optional<std::int32_t> FileCheck(QFile& file);
