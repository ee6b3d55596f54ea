// CSizeRange: a horizontal ruler drawn over a dialog control it takes over: a
// scale from 0 to a maximum with minor ticks, labelled ticks, marker lines and
// colour bands up to a current value. It knows nothing of discs or tracks.
#pragma once

#include "framework/Window.h"

#include <string>
#include <vector>

struct LINE_DATA {
    int nPos;         // position in value units
    COLORREF crColor; // line colour
    bool bSolid;      // solid pen, else dotted
};

struct COLOR_CHANGE {
    int nPos;         // value where this colour begins
    COLORREF crColor; // band colour
};

class CSizeRange : public CWnd {
public:
    CSizeRange();

    // Takes over the parent's control `id`; true when that succeeded.
    bool AttachToDialogItem(int id, HWND parent);

    void SetMaxValue(int value) { m_maxValue = value; }
    void SetMinorTickStep(int step) { m_minorTickStep = step; }
    void SetLabelStep(int step) { m_labelStep = step; }
    void SetUnitText(const char* text); // ANSI code page
    void ClearLines() { m_lines.clear(); }
    void AddLine(int position, COLORREF colour, bool solid);
    void ClearColorChanges() { m_colorChanges.clear(); }
    void AddColorChange(int position, COLORREF colour);
    void SetCurrentValue(int value) { m_currentValue = value; }

    int GetCurrentValue() const { return m_currentValue; }

    // Draws the whole ruler into `dc`; `windowRect` is the window's rectangle
    // in client coordinates, which gives the ruler its size. A maximum below 1
    // leaves only the face; a step below 1 leaves out its ticks.
    void PaintContent(HDC dc, const RECT& windowRect);

protected:
    using Self = CSizeRange;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    static const MessageEntry<CSizeRange> kMessageMap[];
    void OnPaint();
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    RECT WindowRectInClient() const;

    // The layers over the face, in drawing order; `scale` is pixels per unit.
    void DrawMinorTicks(HDC dc, double scale) const;
    void DrawLabels(HDC dc, double scale) const;
    void DrawMarkerLines(HDC dc, double scale) const;
    void DrawColorBands(HDC dc, double scale) const;

    int m_maxValue = 90;
    int m_minorTickStep = 5;
    int m_labelStep = 10;
    std::wstring m_unitText;
    std::vector<LINE_DATA> m_lines;
    std::vector<COLOR_CHANGE> m_colorChanges;
    int m_width = 0;
    int m_height = 0;
    int m_currentValue = 0;
};
