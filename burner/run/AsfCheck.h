// A Windows Media (ASF) file cut short: its data object claims more bytes
// than the file holds. Media Foundation under Wine can fail to ever answer
// for such a file (and then for every file after it in the process), so
// these are refused before it sees them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// head: the file's first 30 bytes (or fewer); dataHead: the 24 bytes after
// the header object, or fewer when the file ends sooner. False for files
// that are not ASF.
bool AsfIsCutShort(const uint8_t* head, size_t headLength, const uint8_t* dataHead,
                   size_t dataHeadLength, uint64_t fileSize);

// The same, reading the file.
bool AsfFileIsCutShort(const std::wstring& path);
