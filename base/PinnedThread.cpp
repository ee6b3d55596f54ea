#include "base/PinnedThread.h"

namespace {

struct ThreadStart {
    std::function<void()> body;
    HMODULE module = nullptr;
};

HMODULE ReferenceOwnModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&ReferenceOwnModule), &module);
    return module;
}

// 32-bit Windows promises only a 4-byte aligned stack at a thread's entry;
// the SSE code the bodies run wants 16.
__attribute__((force_align_arg_pointer)) DWORD WINAPI ThreadMain(void* parameter) {
    auto* start = static_cast<ThreadStart*>(parameter);
    HMODULE module = start->module;
    try {
        start->body();
    } catch (...) {
        // Nothing may leave a thread; each body reports its own failures.
    }
    delete start;
    if (module != nullptr) FreeLibraryAndExitThread(module, 0);
    return 0;
}

} // namespace

UniqueKernelHandle StartPinnedThread(std::function<void()> body) {
    auto* start = new ThreadStart{std::move(body), ReferenceOwnModule()};
    UniqueKernelHandle thread(CreateThread(nullptr, 0, &ThreadMain, start, 0, nullptr));
    if (!thread) {
        DWORD error = GetLastError();
        if (start->module != nullptr) FreeLibrary(start->module);
        delete start;
        SetLastError(error);
    }
    return thread;
}
