// 2,000 files added at once: the dialog's Add (each file measured by the
// engine's GetPlayTime, then a row) against GetPlayTime alone on the same
// files, in the same run. Prints both, per file, and their ratio.
//   add_bench.exe <folder for the files> [count]
#include "app/CDodezOvurerDlg.h"
#include "compilation/FileChooser.h"
#include "bench/load/ManyFiles.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

namespace {

class Chooser : public IFileChooser {
public:
    std::vector<std::wstring> files;
    bool ChooseAudioFiles(HWND, std::vector<std::wstring>& paths) override {
        paths = files;
        return true;
    }
};

double NowMs() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 1;
    int count = argc > 2 ? _wtoi(argv[2]) : 2000;
    Chooser chooser;
    chooser.files = ManyFiles(argv[1], count);
    EngineLibrary engine;
    if (!engine.LoadFromProgramFolder()) return 1;
    std::vector<double> alone, add;
    for (int round = 0; round < 3; ++round) {
        double start = NowMs();
        for (const std::wstring& file : chooser.files) {
            int32_t seconds = 0;
            engine.Api().GetPlayTime(file.c_str(), &seconds);
        }
        alone.push_back(NowMs() - start);

        CDodezOvurerDlg dialog(engine.Api(), chooser);
        if (!dialog.Create()) return 1;
        HWND window = dialog.Hwnd();
        start = NowMs();
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_ADD, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_ADD)));
        add.push_back(NowMs() - start);
        LRESULT rows = SendDlgItemMessageW(window, IDC_TRACKS, LVM_GETITEMCOUNT, 0, 0);
        if (rows != count) std::printf("only %d rows\n", static_cast<int>(rows));
        DestroyWindow(window);
    }
    std::printf("%d files, median of 3 rounds:\n", count);
    std::printf("  GetPlayTime alone    %8.0f ms  %6.2f ms a file\n", Median(alone),
                Median(alone) / count);
    std::printf("  the dialog's Add     %8.0f ms  %6.2f ms a file\n", Median(add),
                Median(add) / count);
    std::printf("  ratio                %8.2f\n", Median(add) / Median(alone));
    return 0;
}
