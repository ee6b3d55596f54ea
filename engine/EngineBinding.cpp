#include "engine/EngineBinding.h"

#include <windows.h>

namespace {

template <class Fn>
bool Resolve(HMODULE module, const char* name, Fn& target, std::wstring& missing) {
    target = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (target != nullptr) return true;
    if (!missing.empty()) missing += L", ";
    for (const char* p = name; *p; ++p)
        missing += static_cast<wchar_t>(*p);
    return false;
}

} // namespace

bool EngineApi::IsComplete() const {
    const void* all[] = {
        reinterpret_cast<const void*>(Initialize),
        reinterpret_cast<const void*>(CreateProject),
        reinterpret_cast<const void*>(GetOptions),
        reinterpret_cast<const void*>(SetOptions),
        reinterpret_cast<const void*>(GetDevices),
        reinterpret_cast<const void*>(SetDevice),
        reinterpret_cast<const void*>(AddFile),
        reinterpret_cast<const void*>(Prepare),
        reinterpret_cast<const void*>(Burn),
        reinterpret_cast<const void*>(Abort),
        reinterpret_cast<const void*>(AudioFileStop),
        reinterpret_cast<const void*>(BurnDialog),
        reinterpret_cast<const void*>(EraseDialog),
        reinterpret_cast<const void*>(PlayAudioFile),
        reinterpret_cast<const void*>(GetPlayTime),
        reinterpret_cast<const void*>(GetText),
        reinterpret_cast<const void*>(SetFinalizeEventCallback),
        reinterpret_cast<const void*>(SetBurnDoneEventCallback),
        reinterpret_cast<const void*>(SetProcessEventCallback),
        reinterpret_cast<const void*>(SetAudioDecoderEventCallback),
        reinterpret_cast<const void*>(SetAudioDecodeDoneEventCallback),
    };
    for (const void* fn : all)
        if (fn == nullptr) return false;
    return true;
}

bool EngineLibrary::Load(const std::wstring& dllPath) {
    m_api = EngineApi{};
    m_missing.clear();
    // Never the current directory or PATH: the engine and what it needs come
    // from its own folder and the system folder.
    m_module.Reset(LoadLibraryExW(dllPath.c_str(), nullptr,
                                  LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!m_module) {
        m_missing = dllPath;
        return false;
    }
    HMODULE module = m_module.Get();
    EngineApi api;
    bool ok = true;
    ok &= Resolve(module, "Initialize", api.Initialize, m_missing);
    ok &= Resolve(module, "CreateProject", api.CreateProject, m_missing);
    ok &= Resolve(module, "GetOptions", api.GetOptions, m_missing);
    ok &= Resolve(module, "SetOptions", api.SetOptions, m_missing);
    ok &= Resolve(module, "GetDevices", api.GetDevices, m_missing);
    ok &= Resolve(module, "SetDevice", api.SetDevice, m_missing);
    ok &= Resolve(module, "AddFile", api.AddFile, m_missing);
    ok &= Resolve(module, "Prepare", api.Prepare, m_missing);
    ok &= Resolve(module, "Burn", api.Burn, m_missing);
    ok &= Resolve(module, "Abort", api.Abort, m_missing);
    ok &= Resolve(module, "AudioFileStop", api.AudioFileStop, m_missing);
    ok &= Resolve(module, "BurnDialog", api.BurnDialog, m_missing);
    ok &= Resolve(module, "EraseDialog", api.EraseDialog, m_missing);
    ok &= Resolve(module, "PlayAudioFile", api.PlayAudioFile, m_missing);
    ok &= Resolve(module, "GetPlayTime", api.GetPlayTime, m_missing);
    ok &= Resolve(module, "GetText", api.GetText, m_missing);
    ok &= Resolve(module, "SetFinalizeEventCallback", api.SetFinalizeEventCallback, m_missing);
    ok &= Resolve(module, "SetBurnDoneEventCallback", api.SetBurnDoneEventCallback, m_missing);
    ok &= Resolve(module, "SetProcessEventCallback", api.SetProcessEventCallback, m_missing);
    ok &= Resolve(module, "SetAudioDecoderEventCallback", api.SetAudioDecoderEventCallback,
                  m_missing);
    ok &= Resolve(module, "SetAudioDecodeDoneEventCallback", api.SetAudioDecodeDoneEventCallback,
                  m_missing);
    if (!ok) {
        m_module.Reset();
        return false;
    }
    m_api = api;
    return true;
}

bool EngineLibrary::LoadFromProgramFolder() {
    return Load(ProgramFolder() + kEngineFileName);
}

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return L".\\";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L".\\" : path.substr(0, slash + 1);
}
