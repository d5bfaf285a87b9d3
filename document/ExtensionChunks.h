#pragma once
// The payloads of the arrangement file's extension chunks: what each chunk
// holds of the arrangement, written only when it has something to hold, and
// read back with damaged payloads refused.
#include "document/ArrangementFile.h"

class ByteReader;
class ByteWriter;

// The chunks that hold something of d, in the order they are written.
[[nodiscard]] std::vector<FileChunk> ExtensionChunksOf(const ArrangementData& d);

// Takes the chunks this program knows into d; others (and other versions of
// known ones) are skipped. False when a known chunk's payload is damaged.
[[nodiscard]] bool TakeExtensionChunks(const std::vector<FileChunk>& chunks, ArrangementData& d);

// A caption font as the base record and the caption chunk store it.
void WriteCaptionFont(ByteWriter& w, const TCaptionFont& font);
[[nodiscard]] TCaptionFont ReadCaptionFont(ByteReader& r);
