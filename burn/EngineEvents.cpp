// The handlers act only through window calls and message boxes, which the
// platform carries out on the dialog's thread, whichever thread raised them.
#include "burn/EngineEvents.h"

#include "base/Text.h"
#include "burn/EventTarget.h"
#include "resources/resource.h"

#include <commctrl.h>

#include <memory>
#include <string>

namespace {

// The dialog as one event sees it. Every operation looks the window up again,
// so a dialog that ends while a message box is open is left alone.
class EventView {
public:
    explicit EventView(void* context) : m_target(EventTargets::Find(context)) {}

    // False once the dialog has ended (or for a context that never was one).
    bool Live() const { return Window() != nullptr; }
    EventTarget& Target() const { return *m_target; }

    void AddInformationLine(const wchar_t* line) const {
        SendMessageW(Item(IDC_INFORMATION), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    }
    void SetTitle(const wchar_t* title) const {
        if (HWND window = Window()) SetWindowTextW(window, title);
    }
    void SetText(int id, const std::wstring& text) const { SetWindowTextW(Item(id), text.c_str()); }
    void SetBarPosition(int id, int position) const {
        SendMessageW(Item(id), PBM_SETPOS, static_cast<WPARAM>(position), 0);
    }
    // Waits for OK; the box is owned by the dialog.
    void ShowMessage(const std::wstring& text, const wchar_t* caption) const {
        if (HWND window = Window()) MessageBoxW(window, text.c_str(), caption, MB_OK);
    }

private:
    HWND Window() const { return m_target ? m_target->window.load() : nullptr; }
    HWND Item(int id) const {
        HWND window = Window();
        return window ? GetDlgItem(window, id) : nullptr;
    }

    std::shared_ptr<EventTarget> m_target;
};

// A percent as a bar position (0 to 100), truncated toward zero. Values the
// bar cannot show, NaN included, are held at its ends.
int BarPosition(float percent) {
    if (!(percent > 0.0f)) return 0;
    if (percent >= 100.0f) return 100;
    return static_cast<int>(percent);
}

} // namespace

void ENGINE_CALL OnFinalizeEvent(void* context) {
    EventView dialog(context);
    if (!dialog.Live()) return;
    dialog.AddInformationLine(L"Finalize...");
    dialog.SetTitle(L"" IDLE_TITLE " (Finalize...)");
}

void ENGINE_CALL OnBurnDoneEvent(const char* errorText, void* context) {
    EventView dialog(context);
    if (!dialog.Live()) return;
    // The engine's error text itself is never shown: only whether there was one.
    bool withErrors = errorText != nullptr && errorText[0] != '\0';
    // The button turns red while the user reads the box, then goes idle.
    if (withErrors) dialog.Target().taskbar.RunFailed();
    dialog.AddInformationLine(withErrors ? L"Burn Done With Errors" : L"Burn Done");
    dialog.ShowMessage(withErrors ? L"Burn Done With Errors." : L"Burn Done.", L"Message");
    dialog.SetTitle(kIdleTitle);
    SetBurning(dialog.Target(), false);
    dialog.SetBarPosition(IDC_BURN_PROGRESS, 0);
}

void ENGINE_CALL OnProcessEvent(float percent, uint32_t, float bufferFill, double bytesWritten,
                                uint64_t, void* context) {
    EventView dialog(context);
    if (!dialog.Live()) return;
    dialog.SetBarPosition(IDC_BURN_PROGRESS, BarPosition(percent));
    dialog.SetText(IDC_BYTES_WRITTEN, FormatText(L"%.0f", bytesWritten));
    dialog.SetText(IDC_BUFFER, FormatText(L"%.1f", static_cast<double>(bufferFill)));
}

void ENGINE_CALL OnAudioDecoderEvent(float percent, uint64_t, void* context) {
    EventView dialog(context);
    if (!dialog.Live()) return;
    dialog.SetBarPosition(IDC_DECODER_PROGRESS, BarPosition(percent));
}

void ENGINE_CALL OnAudioDecodeDoneEvent(const char* fileName, uint32_t, int32_t error,
                                        void* context) {
    if (error == 0) return;
    std::wstring text = L"Error in File:" + FromAnsi(fileName);
    if (context == nullptr) {
        // No dialog was named: the box stands on its own.
        MessageBoxW(nullptr, text.c_str(), L"Error", MB_OK);
        return;
    }
    EventView dialog(context);
    if (!dialog.Live()) return;
    dialog.ShowMessage(text, L"Error");
}

void InstallEventHandlers(const EngineApi& engine, void* context) {
    engine.SetFinalizeEventCallback(OnFinalizeEvent, context);
    engine.SetBurnDoneEventCallback(OnBurnDoneEvent, context);
    engine.SetProcessEventCallback(OnProcessEvent, context);
    engine.SetAudioDecoderEventCallback(OnAudioDecoderEvent, context);
    engine.SetAudioDecodeDoneEventCallback(OnAudioDecodeDoneEvent, context);
}
