#pragma once
// The arrangement file (.sga): a little-endian byte stream of the placements,
// the selection, the options, the caption font and one record per picture.
// Reading and writing work on bytes only; the main window turns the record
// into its arrangement and controls.
#include "document/Options.h"
#include "document/OrderList.h"
#include "document/Placement.h"
#include "document/SheetTexts.h"
#include "picture/PictureRecipe.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

inline constexpr char ArrangementMagic[] = "QUORVEX Snapgrid-Atlas 4.0";
inline constexpr int ArrangementMagicSize = 26;
static_assert(sizeof(ArrangementMagic) == ArrangementMagicSize + 1);

struct StoredPicture {
    QString Path; // as stored: a bare file name or a full path
    std::int32_t Rotation = 0;
    std::int32_t PictureId = 0;
    QString Caption;
    // Mirrored left to right before its turns, as the camera recorded it; kept
    // in the extension area.
    bool Mirrored = false;
    std::int8_t PrintIntent = -1; // see PictureEntry; kept in the extension area
};

// The extension area after the last picture record: the signature, the area's
// version, then tagged chunks to the end of the file. Readers of the base
// layout stop before it; a file without anything to extend has none.
inline constexpr char ExtensionSignature[] = "SGAX";
inline constexpr std::uint16_t ExtensionVersion = 1;
struct FileChunk {
    QByteArray Tag; // 4 ASCII characters
    std::uint16_t Version = 1;
    QByteArray Payload;
};
// The chunks this program writes and reads.
inline constexpr char ViewChunkTag[] = "VIEW";
inline constexpr char ToneChunkTag[] = "TONE";
inline constexpr char SheetChunkTag[] = "CSHT";
inline constexpr char MarksChunkTag[] = "MARK";
inline constexpr char MirrorChunkTag[] = "MIRR";
inline constexpr char OrderChunkTag[] = "ORDR";
inline constexpr char LinkChunkTag[] = "LINK";
inline constexpr char LabelChunkTag[] = "LABL";
inline constexpr char CaptionChunkTag[] = "CAPT";
inline constexpr char IntentChunkTag[] = "INTN";
inline constexpr char TurnChunkTag[] = "TURN";

// Everything the file holds, with the options in their stored form: check
// boxes as 0/1 (any non-zero reads as checked), margin, distance and zoom as
// whole numbers.
struct ArrangementData {
    // Byte for byte, reserved bytes included; chosen views, cells, links and turns in the extension.
    std::vector<Placement> Placements;
    std::int32_t SelectedPlacement = -1;
    std::int32_t SelectedPicture = 0;
    std::int32_t PictureCount = 0; // as stored; Pictures holds max(0, PictureCount) records
    std::int32_t NextPictureId = 0;
    std::int32_t ShowFNames = 0;
    std::int32_t Sverh = 1;
    std::int32_t Zoom = 25;
    std::int32_t Rand = 15; // mm
    std::int32_t Space = 5; // mm
    std::int32_t Transp = 0;
    std::int32_t BkColor = 0x00FFFFFF; // a Windows colour value
    std::int32_t CutDefault = 0;
    std::int32_t EnhanceQual = 1;
    std::int32_t UseGrid = 1;
    std::int32_t ShowGrid = 0;
    double MinQual = 72; // dots per inch
    double DBreite = 130; // mm
    double DHoche = 100; // mm
    double Grid = 5; // mm
    TCaptionFont Font;
    std::vector<StoredPicture> Pictures;
    // Brightness, contrast and saturation steps (Tone steps) of the picture
    // record at the same index, in the order they were made; kept in the
    // extension area. May be shorter than Pictures.
    std::vector<PictureSteps> Tones;
    // Contact sheet headers and cell captions (Placements[i].Cell refers to
    // a cell); kept in the extension area.
    SheetTexts Sheets;
    // Cut marks on the printed and exported pages; kept in the extension area.
    bool CutMarks = false;
    // The order list, picture paths stored as the picture records' are; kept in the extension area.
    OrderList Orders;
    // Caption template, wrapping, page header and footer; kept in the extension area.
    CaptionSettings Captions;
};

// The stored form of the options: check boxes as 0/1, the three integer edits
// truncated toward zero, so a 15.7 mm margin is stored as 15.
void StoreOptions(ArrangementData& data, const ArrangementOptions& options);
// The options a file gives back (the zoom, margin and distance as whole numbers).
[[nodiscard]] ArrangementOptions LoadedOptions(const ArrangementData& data);

// The whole file. PictureCount is written as the number of picture records.
// The extension area follows only when a chunk has something to hold, so an
// arrangement without views and adjustments gives the base layout alone.
[[nodiscard]] QByteArray WriteArrangement(const ArrangementData& data);

// The extension area holding the chunks; empty for no chunks.
[[nodiscard]] QByteArray WriteExtension(const std::vector<FileChunk>& chunks);
enum class ExtensionStatus { Absent, Ok, Damaged };
// Reads the extension area from `from` to the end. Bytes that do not begin
// with the signature, or an area of a version this program does not know,
// count as absent (older files may carry trailing bytes). A chunk reaching
// past the end is damage.
[[nodiscard]] ExtensionStatus ReadExtension(const QByteArray& bytes, qsizetype from, std::vector<FileChunk>& out);

enum class ArrangementReadStatus {
    Ok,
    NotArrangement, // the first 26 bytes are not the magic (older versions included)
    Damaged, // ends early, a count or length cannot fit in the file, or a damaged extension area
};

// Parses a whole file. Nothing past the end is read and nothing is allocated
// beyond what the remaining bytes can hold; a negative placement or picture
// count reads none. On any failure `out` is left untouched.
[[nodiscard]] ArrangementReadStatus ReadArrangement(const QByteArray& bytes, ArrangementData& out);

// True when bytes begin with the magic.
[[nodiscard]] bool HasArrangementMagic(const QByteArray& bytes);

// Folder part of a path, through its last '/' or '\' (empty when none).
[[nodiscard]] QString StoredFolderPart(const QString& path);

// Whether the file system treats folder names case-sensitively. On Linux it
// does: upper-casing there would store a bare name for a picture in another
// folder that differs only in case, and reopening would then look for it in
// the arrangement's folder and lose it.
[[nodiscard]] Qt::CaseSensitivity FileSystemCaseSensitivity();

// The path to store for a picture: its bare file name when it lies in the
// arrangement file's own folder, otherwise its full path.
[[nodiscard]] QString StoredPicturePath(
    const QString& pictureFile, const QString& arrangementFile, Qt::CaseSensitivity cs = FileSystemCaseSensitivity());

// The picture file a stored path names: a path without folder part (and not
// empty) lies in the arrangement's folder (arrangementFolder ends in '/').
[[nodiscard]] QString ResolveStoredPath(const QString& stored, const QString& arrangementFolder);
