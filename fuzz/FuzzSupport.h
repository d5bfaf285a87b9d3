#pragma once
// What every fuzz target shares: one headless application for the whole run,
// a scratch folder, and inputs written to files there (the readers take paths).
#include <QString>

#include <cstddef>
#include <cstdint>

namespace Fuzz {

// Creates the application once: offscreen, a home and settings of its own so
// nothing of the user's is read or written, and every message box answered OK.
void InitApplication();

// A folder removed at exit, ending in '/'.
QString ScratchFolder();

// Replaces the file with the bytes; false when it cannot be written.
bool WriteFile(const QString &path, const std::uint8_t *data, std::size_t size);

} // namespace Fuzz
