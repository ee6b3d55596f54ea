#include "controls/CMyHyperLink.h"

const MessageEntry<CMyHyperLink> CMyHyperLink::kMessageMap[] = {
    {0, kAnyCode, kAnyId, nullptr}, // placeholder row; replaced by the full table
};

CMyHyperLink::CMyHyperLink() = default;

bool CMyHyperLink::AttachControl(HWND control) { return SubclassWindow(control); }

void CMyHyperLink::OnAttached() {}

bool CMyHyperLink::ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
