// Run-time binding of the burner engine: every export resolved by name from
// DodIvadorO.dll in the program's own folder. A missing file or export leaves
// the binding empty, which the dialog treats like an engine that refuses to
// start. Tests fill an EngineApi with functions of their own instead.
#pragma once

#include "engine/EngineRecords.h"
#include "base/Handles.h"
#include "base/Library.h"

#include <string>

struct EngineApi {
#define ENGINE_API_ENTRY(Name, Result, Parameters) Name##Fn Name = nullptr;
    ENGINE_EXPORTS(ENGINE_API_ENTRY)
#undef ENGINE_API_ENTRY

    // True when all 21 operations are present.
    bool IsComplete() const;
};

constexpr wchar_t kEngineFileName[] = L"DodIvadorO.dll";

class EngineLibrary {
public:
    // Loads the engine from the given full path (dependencies from its own
    // folder and System32 only) and resolves all 21 exports by name. On any
    // failure the api stays empty and Missing() says what was missing.
    bool Load(const std::wstring& dllPath);

    // The engine next to the running program.
    bool LoadFromProgramFolder();

    const EngineApi& Api() const { return m_api; }
    const std::wstring& Missing() const { return m_missing; }

private:
    UniqueModule m_module;
    EngineApi m_api;
    std::wstring m_missing;
};
