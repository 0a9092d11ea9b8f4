#include "platform/Gdi.h"

#include "platform/Wnd.h"

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    const BOOL bDeleted = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return bDeleted;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ hObject = m_hObject;
    m_hObject = nullptr;
    return hObject;
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    DeleteObject();
    m_hObject = hObject;
    return hObject != nullptr;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

int CRgn::CombineRgn(const CRgn* pSrc1, const CRgn* pSrc2, int nMode)
{
    return ::CombineRgn(*this, *pSrc1, pSrc2 ? HRGN(*pSrc2) : nullptr, nMode);
}

CDC::~CDC()
{
    if (m_bOwned && m_hDC)
        ::DeleteDC(m_hDC);
}

HDC CDC::Detach()
{
    HDC hDC = m_hDC;
    m_hDC = nullptr;
    m_bOwned = false;
    return hDC;
}

BOOL CDC::DeleteDC()
{
    const BOOL bDeleted = m_bOwned && m_hDC ? ::DeleteDC(m_hDC) : FALSE;
    m_hDC = nullptr;
    m_bOwned = false;
    return bDeleted;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    if (m_bOwned && m_hDC)
        ::DeleteDC(m_hDC);
    m_hDC = ::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr);
    m_bOwned = m_hDC != nullptr;
    return m_bOwned;
}

void CDC::FillSolidRect(LPCRECT pRect, COLORREF cr)
{
    // The opaque background of an empty text run paints the rectangle
    // without creating a brush.
    ::SetBkColor(m_hDC, cr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, pRect, nullptr, 0, nullptr);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) { m_hDC = ::BeginPaint(m_hWnd, &m_ps); }

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    m_hDC = nullptr;
}
