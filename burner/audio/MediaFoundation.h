// Media Foundation for the calling thread: COM in the multithreaded
// apartment for as long as the object lives, and the platform started once
// per process (and left running: stopping it while another thread decodes
// would pull the ground from under it).
#pragma once

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

// Releases a COM interface at the end of its scope.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            m_p = other.m_p;
            other.m_p = nullptr;
        }
        return *this;
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    T** Receive() {
        Reset();
        return &m_p;
    }
    explicit operator bool() const { return m_p != nullptr; }
    void Reset() {
        if (m_p != nullptr) m_p->Release();
        m_p = nullptr;
    }

private:
    T* m_p = nullptr;
};
