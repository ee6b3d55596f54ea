// Drives the running program, whose engine floods it with events
// (LoadEngine.cpp), and times how fast its dialog answers:
//   LoadProbe <seconds> [<run milliseconds>]
// First the idle dialog for three seconds (the reference); then <seconds> of
// burns started with "&Burn Now!" and stopped with "&Stop" at varying
// moments, some while the start is still pending; then one burn left to
// finish (its engine run lasts <run milliseconds>), whose "Burn Done." box
// is answered. All the while another thread sends the dialog a message every
// 10 ms and times the round trip. Prints the median, 99th percentile and
// longest round trip of both phases, and how many took over 50 ms, counting
// apart those that met the second Stop deliberately blocks the dialog for.
// Exit code 0 when the dialog always answered (within 10 s), went back to
// idle after every run and ended the last one with "Burn Done.".
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cwchar>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "resources/resource.h"

namespace {

constexpr int kMessageText = 0xFFFF;
constexpr UINT kHangMs = 10000;
constexpr double kSlowMs = 50;
constexpr double kStopPauseMs = 1000;

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {}; // read without a message, so a busy dialog cannot block it
    InternalGetWindowText(window, text, 512);
    return text;
}

double NowMs() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <class Done> bool WaitUntil(Done done, double seconds) {
    for (double end = NowMs() + seconds * 1000; NowMs() < end; Sleep(5))
        if (done()) return true;
    return done();
}

HWND FindDialog(bool messageBox) {
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"#32770", nullptr)) != nullptr;) {
        std::wstring title = TextOf(w);
        bool isBox = title == L"Message" && GetDlgItem(w, kMessageText) != nullptr;
        bool isMain = title == L"Quillotune" || title.rfind(L"Quillotune (", 0) == 0;
        if (IsWindowVisible(w) && (messageBox ? isBox : isMain)) return w;
    }
    return nullptr;
}

void Press(HWND window, int id) {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

struct RoundTrip {
    double start, ms;
};

class Prober {
public:
    explicit Prober(HWND dialog) : m_thread([this, dialog] { Run(dialog); }) {}
    ~Prober() {
        m_running = false;
        m_thread.join();
    }
    bool Hung() const { return m_hung; }
    std::vector<RoundTrip> Since(size_t first) {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::vector<RoundTrip>(m_trips.begin() + std::min(first, m_trips.size()),
                                      m_trips.end());
    }
    size_t Count() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_trips.size();
    }

private:
    void Run(HWND dialog) {
        while (m_running) {
            DWORD_PTR result = 0;
            double start = NowMs();
            if (!SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, kHangMs, &result))
                m_hung = true;
            double ms = NowMs() - start;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_trips.push_back({start, ms});
            }
            Sleep(10);
        }
    }

    std::mutex m_mutex; // guards m_trips
    std::vector<RoundTrip> m_trips;
    std::atomic<bool> m_running{true}, m_hung{false};
    std::thread m_thread;
};

double Percentile(std::vector<double> ms, int percent) {
    if (ms.empty()) return 0;
    std::sort(ms.begin(), ms.end());
    return ms[(ms.size() * percent + 99) / 100 - 1];
}

// The round trips' figures, and the same without those that met a Stop's pause.
void Report(const char* phase, const std::vector<RoundTrip>& trips,
            const std::vector<double>& stops) {
    std::vector<double> all, outsidePauses;
    size_t slow = 0;
    for (const RoundTrip& trip : trips) {
        all.push_back(trip.ms);
        slow += trip.ms > kSlowMs;
        bool inPause = false;
        for (double stop : stops)
            inPause |= trip.start + trip.ms >= stop && trip.start <= stop + kStopPauseMs + 100;
        if (!inPause) outsidePauses.push_back(trip.ms);
    }
    std::printf("%s: %zu round trips, median %.2f ms, 99th percentile %.2f ms, longest %.1f ms, "
                "%zu over %.0f ms; outside Stop's pauses: %zu, 99th percentile %.2f ms, "
                "longest %.1f ms\n",
                phase, all.size(), Percentile(all, 50), Percentile(all, 99), Percentile(all, 100),
                slow, kSlowMs, outsidePauses.size(), Percentile(outsidePauses, 99),
                Percentile(outsidePauses, 100));
}

bool Fail(const char* what) {
    std::printf("FAIL: %s\n", what);
    return false;
}

// Burns started and stopped until the seconds are over.
bool StartAndStop(HWND dialog, double seconds, std::vector<double>& stops) {
    HWND button = GetDlgItem(dialog, IDC_BURN);
    auto idle = [&] { return TextOf(button) == L"&Burn Now!" && TextOf(dialog) == L"Quillotune"; };
    const double end = NowMs() + seconds * 1000;
    for (int cycle = 0; NowMs() < end; ++cycle) {
        Press(dialog, IDC_BURN);
        if (!WaitUntil([&] { return TextOf(button) == L"&Stop"; }, 10)) return Fail("no start");
        // Every fourth Stop comes while the start is pending, the others
        // after one to three seconds of events.
        bool pending = cycle % 4 == 3;
        if (!pending &&
            !WaitUntil([&] { return TextOf(dialog) == L"Quillotune (Start Burning...)"; }, 10))
            return Fail("the burn did not start");
        Sleep(pending ? 100 : 1000 + cycle * 700 % 2000);
        if (FindDialog(true)) return Fail("a message box came before Stop");
        stops.push_back(NowMs());
        Press(dialog, IDC_BURN);
        if (!WaitUntil(idle, 10)) return Fail("not idle after Stop");
    }
    return true;
}

bool BurnToTheEnd(HWND dialog, double runMs) {
    Press(dialog, IDC_BURN);
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = FindDialog(true)) != nullptr; }, runMs / 1000 + 20))
        return Fail("no message box at the end of the burn");
    std::wstring text = TextOf(GetDlgItem(box, kMessageText));
    std::printf("last burn: %ls\n", text.c_str());
    Press(box, IDOK);
    if (text != L"Burn Done.") return Fail("the last burn did not end with Burn Done.");
    return WaitUntil(
               [&] {
                   return TextOf(dialog) == L"Quillotune" &&
                          IsWindowEnabled(GetDlgItem(dialog, IDC_ADD));
               },
               10) ||
           Fail("not idle after the last burn");
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    double seconds = argc > 1 ? _wtof(argv[1]) : 30;
    double runMs = argc > 2 ? _wtof(argv[2]) : 5000;
    HWND dialog = FindDialog(false);
    if (dialog == nullptr) return Fail("no Quillotune dialog"), 1;
    std::vector<double> stops;
    bool ok = true;
    size_t atLoad = 0;
    {
        Prober prober(dialog);
        Sleep(3000);
        atLoad = prober.Count();
        ok = StartAndStop(dialog, seconds, stops) && BurnToTheEnd(dialog, runMs);
        if (prober.Hung()) ok = Fail("the dialog did not answer for 10 s");
        std::vector<RoundTrip> all = prober.Since(0);
        Report("idle", std::vector<RoundTrip>(all.begin(), all.begin() + atLoad), {});
        Report("under load", std::vector<RoundTrip>(all.begin() + atLoad, all.end()), stops);
    }
    std::printf("stops: %zu\n", stops.size());
    return ok ? 0 : 1;
}
