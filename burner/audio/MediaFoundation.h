// Media Foundation for the calling thread: COM in the multithreaded
// apartment for as long as the object lives, and the platform started once
// per process (and left running: stopping it while another thread decodes
// would pull the ground from under it).
#pragma once

#include "base/Handles.h"

#include <windows.h>

class MediaFoundationScope {
public:
    MediaFoundationScope();
    ~MediaFoundationScope();
    MediaFoundationScope(const MediaFoundationScope&) = delete;
    MediaFoundationScope& operator=(const MediaFoundationScope&) = delete;

    bool IsReady() const { return SUCCEEDED(m_result); }
    HRESULT Result() const { return m_result; }

private:
    bool m_uninitialize = false;
    HRESULT m_result = E_FAIL;
};
