#include "framework/Application.h"

#include "framework/Window.h"

namespace {
CWinApp* g_application = nullptr;
}

CWinApp::CWinApp() {
    g_application = this;
}

CWinApp::~CWinApp() {
    if (g_application == this) g_application = nullptr;
}

CWinApp* CWinApp::Current() {
    return g_application;
}

bool CWinApp::PreTranslateMessage(MSG* message) {
    return CWnd::WalkPreTranslateTree(m_mainWindow, message);
}

int CWinApp::Run() {
    if (!InitInstance()) return 0;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!PreTranslateMessage(&message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
