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
#define ENGINE_CHECK_ENTRY(Name, Result, Parameters)                                               \
    if (Name == nullptr) return false;
    ENGINE_EXPORTS(ENGINE_CHECK_ENTRY)
#undef ENGINE_CHECK_ENTRY
    return true;
}

bool EngineLibrary::Load(const std::wstring& dllPath) {
    m_api = EngineApi{};
    m_missing.clear();
    // Never the current directory or PATH: the engine and what it needs come
    // from its own folder and the system folder.
    m_module.Reset(LoadLibraryFromKnownFolders(dllPath, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR |
                                                            LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!m_module) {
        m_missing = dllPath;
        return false;
    }
    HMODULE module = m_module.Get();
    EngineApi api;
    bool ok = true;
#define ENGINE_RESOLVE_ENTRY(Name, Result, Parameters)                                             \
    ok &= Resolve(module, #Name, api.Name, m_missing);
    ENGINE_EXPORTS(ENGINE_RESOLVE_ENTRY)
#undef ENGINE_RESOLVE_ENTRY
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
