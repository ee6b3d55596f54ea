#include "burner/audio/MediaFoundation.h"

#include <mfapi.h>

#include <mutex>

namespace {

std::once_flag g_startOnce;
HRESULT g_startResult = E_FAIL;

} // namespace

MediaFoundationScope::MediaFoundationScope() {
    HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    // A thread already in a single-threaded apartment keeps it; the Source
    // Reader works from either.
    m_uninitialize = SUCCEEDED(com);
    if (FAILED(com) && com != RPC_E_CHANGED_MODE) {
        m_result = com;
        return;
    }
    std::call_once(g_startOnce, [] { g_startResult = MFStartup(MF_VERSION, MFSTARTUP_NOSOCKET); });
    m_result = g_startResult;
}

MediaFoundationScope::~MediaFoundationScope() {
    if (m_uninitialize) CoUninitialize();
}
