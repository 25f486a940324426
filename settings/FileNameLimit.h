#pragma once
// The longest file name the common file systems take, and the cut of an
// escaped name to fit it. The per-user store and the backups name their files
// after texts of any length (AppName, a model name).

#include <QString>

namespace filename {

// The longest name a file saved atomically may have: ext4, NTFS, APFS and
// the others take 255 bytes (UTF-8) in one name, and a save over an existing
// file first writes its new contents as "<name>.XXXXXX" beside it.
constexpr int kMaxNameBytes = 255 - 7;

// The longest start of text whose UTF-8 takes at most maxBytes, cut on a
// character boundary: never inside a surrogate pair, and never inside a
// "%XX" escape (every '%' of text starts one, as in the names we write).
QString cutToBytes(const QString& text, int maxBytes);

}  // namespace filename
