// The CUE sheet of a BIN/CUE audio image: one BINARY file, tracks back to
// back from its start (the pregap before track 1 is implicit), the volume
// label as the disc's TITLE. Texts are UTF-8, lines end in CR LF.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A title made safe for a quoted CUE field: no quotes or control characters,
// at most 80 bytes (the CD-Text limit), never a cut UTF-8 sequence.
std::string CueTitle(const std::string& utf8);

std::string BuildCueSheet(const std::string& titleUtf8, const std::string& binFileNameUtf8,
                          const std::vector<int64_t>& trackSectors);
