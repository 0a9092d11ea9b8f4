// Thin owners of GDI handles (each deletes its one handle in its destructor,
// unless it was handed on with Detach), and device contexts whose type says
// who ends them.
#pragma once

#include <windows.h>

#include "platform/CString.h"
#include "platform/StringConvert.h"

struct CPoint : POINT {
    CPoint() : POINT{0, 0} {}
    CPoint(int nX, int nY) : POINT{nX, nY} {}
    explicit CPoint(LPARAM lParam)
        : POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))} {}
    bool operator==(const CPoint& other) const { return x == other.x && y == other.y; }
};

struct CRect : RECT {
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& rc) : RECT(rc) {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};

class CGdiObject {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject() { DeleteObject(); }

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL DeleteObject();
    // Gives up ownership, for handles the system takes over.
    HGDIOBJ Detach();

protected:
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ m_hObject = nullptr;
};

class CDC;

class CBitmap : public CGdiObject {
public:
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
    BOOL CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONTW* pLogFont) { return Attach(::CreateFontIndirectW(pLogFont)); }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CRgn : public CGdiObject {
public:
    BOOL CreateRectRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateRectRgn(x1, y1, x2, y2)); }
    int CombineRgn(const CRgn* pSrc1, const CRgn* pSrc2, int nMode);
    int OffsetRgn(int x, int y) { return ::OffsetRgn(*this, x, y); }
    int GetRgnBox(LPRECT pRect) const { return ::GetRgnBox(*this, pRect); }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion(*this, x, y); }
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
    // Gives the region up, to a window that accepted it with SetWindowRgn.
    HRGN Detach() { return static_cast<HRGN>(CGdiObject::Detach()); }
};

// The drawing calls of a device context. The type says nothing about who
// ends the handle: handlers are given a CDC*, and the classes below are the
// borrowed context, the memory context we make, and the paint context.
class CDC {
public:
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    COLORREF SetBkColor(COLORREF cr) { return ::SetBkColor(m_hDC, cr); }
    int SetBkMode(int nMode) { return ::SetBkMode(m_hDC, nMode); }
    COLORREF SetTextColor(COLORREF cr) { return ::SetTextColor(m_hDC, cr); }
    UINT SetTextAlign(UINT nFlags) { return ::SetTextAlign(m_hDC, nFlags); }
    BOOL TextOut(int x, int y, const CString& str)
    {
        const CWideText text(str.GetString(), str.GetLength());
        return ::TextOutW(m_hDC, x, y, text, text.GetLength());
    }
    BOOL GetTextMetrics(LPTEXTMETRICW pMetrics) const { return ::GetTextMetricsW(m_hDC, pMetrics); }
    void FillSolidRect(LPCRECT pRect, COLORREF cr);
    BOOL FillRgn(const CRgn* pRgn, const CBrush* pBrush) { return ::FillRgn(m_hDC, *pRgn, *pBrush); }
    BOOL Rectangle(LPCRECT pRect)
    {
        return ::Rectangle(m_hDC, pRect->left, pRect->top, pRect->right, pRect->bottom);
    }
    // A one-pixel frame just inside the rectangle.
    int FrameRect(LPCRECT pRect, HBRUSH hBrush) { return ::FrameRect(m_hDC, pRect, hBrush); }
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
    {
        return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->m_hDC, xSrc, ySrc, dwRop);
    }
    int SelectClipRgn(const CRgn* pRgn) { return ::SelectClipRgn(m_hDC, pRgn ? HRGN(*pRgn) : nullptr); }
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }

protected:
    CDC() = default;
    explicit CDC(HDC hDC) : m_hDC(hDC) {}
    ~CDC() = default;

    // Set only by the kind that made the context: no one can hand a memory
    // context another's handle to delete.
    HDC m_hDC = nullptr;
};

// A context that someone else made and ends (a handler's, an owner-draw
// record's): it is only let go, never deleted.
class CDCHandle : public CDC {
public:
    explicit CDCHandle(HDC hDC) : CDC(hDC) {}
};

// A memory context this object makes and deletes. It has no Attach: a
// context made elsewhere can never end up deleted by it.
class CMemoryDC : public CDC {
public:
    CMemoryDC() = default;
    ~CMemoryDC() { DeleteDC(); }

    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();
};

// Selects a font, brush, pen or bitmap into a context and the previous one
// back when the scope ends; declare it after the object, so the object is
// let go before it dies. Not a region: selecting one answers a code, not
// the region it replaced, so there would be nothing to put back.
class CGdiSelection {
public:
    CGdiSelection(HDC hDC, HFONT hFont) : CGdiSelection(hDC, static_cast<HGDIOBJ>(hFont), 0) {}
    CGdiSelection(HDC hDC, HBRUSH hBrush) : CGdiSelection(hDC, static_cast<HGDIOBJ>(hBrush), 0) {}
    CGdiSelection(HDC hDC, HPEN hPen) : CGdiSelection(hDC, static_cast<HGDIOBJ>(hPen), 0) {}
    CGdiSelection(HDC hDC, HBITMAP hBitmap) : CGdiSelection(hDC, static_cast<HGDIOBJ>(hBitmap), 0) {}
    CGdiSelection(HDC hDC, HRGN hRgn) = delete;
    ~CGdiSelection()
    {
        if (m_hOld)
            ::SelectObject(m_hDC, m_hOld);
    }
    CGdiSelection(const CGdiSelection&) = delete;
    CGdiSelection& operator=(const CGdiSelection&) = delete;

private:
    CGdiSelection(HDC hDC, HGDIOBJ hObject, int)
        : m_hDC(hDC), m_hOld(hObject ? ::SelectObject(hDC, hObject) : nullptr)
    {
    }

    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// An icon someone else owns: LoadIcon's are the system's, shared and never
// destroyed.
class CIconHandle {
public:
    explicit CIconHandle(HICON hIcon = nullptr) : m_hIcon(hIcon) {}
    operator HICON() const { return m_hIcon; }

private:
    HICON m_hIcon;
};

// An icon made for us at a size of our choosing, destroyed in the
// destructor.
class CIcon {
public:
    CIcon() = default;
    ~CIcon()
    {
        if (m_hIcon)
            ::DestroyIcon(m_hIcon);
    }
    CIcon(const CIcon&) = delete;
    CIcon& operator=(const CIcon&) = delete;

    // The module's icon at the system's small-icon size (the notification
    // area's, a caption's), from the image of that size where it has one.
    BOOL LoadSmallIcon(HINSTANCE hInstance, UINT nID);
    operator HICON() const { return m_hIcon; }

private:
    HICON m_hIcon = nullptr;
};

class CWnd;

// BeginPaint in the constructor, EndPaint (which ends the context) in the
// destructor.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC();

    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};
