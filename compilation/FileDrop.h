// Files dropped on a window from Explorer or any other program: by OLE
// drag-and-drop (modern file managers) and by the older drop message. Both
// come to OnDropFiles, which hands the files to add (FilesToAdd) to the
// receiver, so a drop adds exactly as Add does. Drops are refused while the
// `allowed` test says no (during a burn, when Add is disabled too).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

class FileDrop {
public:
    using Receiver = std::function<void(const std::vector<std::wstring>& files)>;
    using Allowed = std::function<bool()>;

    FileDrop(Receiver receive, Allowed allowed);
    ~FileDrop();
    FileDrop(const FileDrop&) = delete;
    FileDrop& operator=(const FileDrop&) = delete;

    // Accepts drops on `window` and on its children until Revoke (at the
    // latest when the window is destroyed). OLE drops need OLE on this thread;
    // where it cannot be had, the drop message still works.
    void Accept(HWND window);
    void Revoke();
    bool AcceptsOleDrops() const { return m_target != nullptr; }

    // The drop message (WM_DROPFILES). Ends the drop in any case.
    void OnDropFiles(HDROP drop) const;

    // An OLE drop arrives here as a drop message posted to the window: the
    // dragging program waits while a drop is taken, so the adding (play
    // times, "Failed to load:" boxes) must happen after the drop has ended.
    class Target;

private:
    Receiver m_receive;
    Allowed m_allowed;
    HWND m_window = nullptr;
    bool m_oleInitialized = false;
    Target* m_target = nullptr;
};
