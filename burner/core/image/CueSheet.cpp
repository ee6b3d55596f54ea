#include "burner/core/image/CueSheet.h"

#include "burner/core/image/CdLayout.h"

#include <cstdio>

std::string CueTitle(const std::string& utf8) {
    constexpr size_t kMaxBytes = 80;
    std::string title;
    for (unsigned char c : utf8) {
        if (c == '"')
            title += '\'';
        else if (c < 0x20 || c == 0x7F)
            title += ' ';
        else
            title += static_cast<char>(c);
    }
    if (title.size() > kMaxBytes) {
        size_t end = kMaxBytes;
        // Step back over continuation bytes so no character is cut in two.
        while (end > 0 && (static_cast<unsigned char>(title[end]) & 0xC0) == 0x80)
            --end;
        title.resize(end);
    }
    while (!title.empty() && title.back() == ' ')
        title.pop_back();
    return title;
}

std::string BuildCueSheet(const std::string& titleUtf8, const std::string& binFileNameUtf8,
                          const std::vector<int64_t>& trackSectors) {
    std::string sheet;
    std::string title = CueTitle(titleUtf8);
    if (!title.empty()) sheet += "TITLE \"" + title + "\"\r\n";
    sheet += "FILE \"" + binFileNameUtf8 + "\" BINARY\r\n";
    std::vector<int64_t> starts = cd::TrackStarts(trackSectors);
    for (size_t i = 0; i < starts.size(); ++i) {
        char line[64];
        std::snprintf(line, sizeof line, "  TRACK %02u AUDIO\r\n", static_cast<unsigned>(i + 1));
        sheet += line;
        sheet += "    INDEX 01 " + cd::Msf(starts[i]) + "\r\n";
    }
    return sheet;
}
