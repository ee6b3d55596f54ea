#include "burner/dialogs/TrackSummary.h"

#include "base/PinnedThread.h"
#include "burner/playtime/PlayTime.h"

void TrackSummary::Start(std::vector<std::wstring> paths, HWND notify, UINT message) {
    Stop();
    auto shared = std::make_shared<Shared>();
    m_shared = shared;
    // The thread is left to end by itself; it calls nothing of the program's.
    StartPinnedThread([shared, paths = std::move(paths), notify, message] {
        // The same play times the program adds up for its totals line.
        int64_t total = 0;
        size_t unreadable = 0;
        for (const std::wstring& path : paths) {
            if (shared->stop) return;
            int32_t seconds = 0;
            if (MeasurePlayTime(path.c_str(), &seconds) == 0 && seconds > 0)
                total += seconds;
            else
                ++unreadable;
        }
        shared->seconds = total;
        shared->unreadable = unreadable;
        if (!shared->stop) PostMessageW(notify, message, 0, 0);
    });
}

void TrackSummary::Stop() {
    if (m_shared) m_shared->stop = true;
}

std::wstring TrackSummaryText(size_t tracks, int64_t seconds, size_t unreadable) {
    std::wstring twoDigits = std::to_wstring(seconds % 60);
    if (twoDigits.size() < 2) twoDigits.insert(0, L"0");
    std::wstring text = std::to_wstring(tracks) + (tracks == 1 ? L" track, " : L" tracks, ") +
                        std::to_wstring(seconds / 60) + L":" + twoDigits;
    if (unreadable > 0) text += L" (" + std::to_wstring(unreadable) + L" cannot be read)";
    return text;
}
