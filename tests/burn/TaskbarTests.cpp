// The burn's progress on the taskbar button, with a fake taskbar service
// behind the seam: what it is told, and on which thread.
#include "burn/TaskbarProgress.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

// Records what the button is told: "normal", "error", "none" and "40/100".
class FakeTaskbar final : public ITaskbarList3 {
public:
    std::vector<std::wstring> told;
    std::vector<DWORD> threads; // the thread of each call
    HWND window = nullptr;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE SetProgressValue(HWND hwnd, ULONGLONG done,
                                               ULONGLONG total) override {
        return Tell(hwnd, std::to_wstring(done) + L"/" + std::to_wstring(total));
    }
    HRESULT STDMETHODCALLTYPE SetProgressState(HWND hwnd, TBPFLAG state) override {
        return Tell(hwnd, state == TBPF_NORMAL       ? L"normal"
                          : state == TBPF_ERROR      ? L"error"
                          : state == TBPF_NOPROGRESS ? L"none"
                                                     : L"other");
    }

    HRESULT STDMETHODCALLTYPE HrInit() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE AddTab(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteTab(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ActivateTab(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetActiveAlt(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MarkFullscreenWindow(HWND, WINBOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RegisterTab(HWND, HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnregisterTab(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTabOrder(HWND, HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTabActive(HWND, HWND, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ThumbBarAddButtons(HWND, UINT, LPTHUMBBUTTON) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ThumbBarUpdateButtons(HWND, UINT, LPTHUMBBUTTON) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ThumbBarSetImageList(HWND, HIMAGELIST) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetOverlayIcon(HWND, HICON, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetThumbnailTooltip(HWND, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetThumbnailClip(HWND, RECT*) override { return E_NOTIMPL; }

private:
    HRESULT Tell(HWND hwnd, const std::wstring& what) {
        window = hwnd;
        told.push_back(what);
        threads.push_back(GetCurrentThreadId());
        return S_OK;
    }
};

// A window with a progress bar of range 0 to 100 in it, as the dialog has.
class TaskbarTest : public testing::Test {
protected:
    void SetUp() override {
        owner = CreateWindowExW(0, WC_STATICW, L"owner", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
        bar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD, 0, 0, 100, 10, owner, nullptr,
                              nullptr, nullptr);
        ASSERT_TRUE(bar != nullptr);
        SendMessageW(bar, PBM_SETRANGE32, 0, 100);
    }
    void TearDown() override { DestroyWindow(owner); }

    ComPtr<ITaskbarList3> Service() {
        ++made;
        ComPtr<ITaskbarList3> service;
        *service.Receive() = &fake;
        return service;
    }
    void SetPos(int position) { SendMessageW(bar, PBM_SETPOS, position, 0); }
    // The engine's way: from a thread of its own, while this thread pumps.
    void SetPosFromAnotherThread(int position) {
        std::atomic<bool> done{false};
        std::thread engine([&] {
            SetPos(position);
            done = true;
        });
        MSG message;
        while (!done)
            if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        engine.join();
    }

    HWND owner = nullptr;
    HWND bar = nullptr;
    FakeTaskbar fake;
    int made = 0;
};

TEST_F(TaskbarTest, FollowsTheBarOnlyWhileARunGoesAndOnTheBarsThread) {
    TaskbarProgress taskbar([this] { return Service(); });
    taskbar.Follow(bar, owner);
    SetPos(10);
    taskbar.Idle();
    EXPECT_EQ(0, made) << "nothing is asked for before a run";

    taskbar.RunStarted();
    SetPosFromAnotherThread(42);
    SetPos(42); // unchanged figures still go through
    taskbar.Idle();
    SetPos(0);
    taskbar.RunStarted();
    taskbar.Idle();

    EXPECT_EQ((std::vector<std::wstring>{L"normal", L"10/100", L"42/100", L"42/100", L"none",
                                         L"normal", L"0/100", L"none"}),
              fake.told);
    EXPECT_EQ(owner, fake.window);
    EXPECT_EQ(1, made);
    for (DWORD thread : fake.threads)
        EXPECT_EQ(GetCurrentThreadId(), thread) << "the service is used on its own thread only";
}

TEST_F(TaskbarTest, ARunEndingWithErrorsTurnsTheButtonRedUntilIdle) {
    TaskbarProgress taskbar([this] { return Service(); });
    taskbar.Follow(bar, owner);
    taskbar.RunStarted();
    SetPos(63);
    std::thread engine([&] { taskbar.RunFailed(); });
    MSG message;
    while (fake.told.size() < 5)
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    engine.join();
    SetPos(0); // the run's end resets the bar; the button keeps its red
    taskbar.Idle();
    // Failing before any progress shows a full red bar.
    taskbar.RunStarted();
    taskbar.RunFailed();
    taskbar.Idle();

    EXPECT_EQ(
        (std::vector<std::wstring>{L"normal", L"0/100", L"63/100", L"error", L"63/100", L"none",
                                   L"normal", L"0/100", L"error", L"100/100", L"none"}),
        fake.told);
}

TEST_F(TaskbarTest, WithoutTheServiceARunGoesOnAndItIsAskedForOnce) {
    TaskbarProgress taskbar([this] {
        ++made;
        return ComPtr<ITaskbarList3>();
    });
    taskbar.Follow(bar, owner);
    taskbar.RunStarted();
    SetPosFromAnotherThread(50);
    taskbar.RunFailed();
    taskbar.Idle();
    taskbar.RunStarted();
    EXPECT_EQ(50, SendMessageW(bar, PBM_GETPOS, 0, 0));
    EXPECT_EQ(1, made);
    // The system's own: under Wine there may be one or none; either way no harm.
    TaskbarProgress system;
    system.Follow(bar, owner);
    system.RunStarted();
    SetPos(70);
    system.Idle();
    EXPECT_EQ(70, SendMessageW(bar, PBM_GETPOS, 0, 0));
}

TEST_F(TaskbarTest, LetsGoOfTheBarWhenItIsDestroyed) {
    TaskbarProgress taskbar([this] { return Service(); });
    taskbar.Follow(bar, owner);
    DestroyWindow(owner);
    owner = nullptr;
    taskbar.RunStarted(); // a run after the window is gone tells nothing
    EXPECT_TRUE(fake.told.empty());
}

} // namespace
