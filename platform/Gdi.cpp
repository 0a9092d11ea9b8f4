// GDI owners: deleting regions, brushes, fonts, bitmaps, memory contexts and our icons.
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
    return Attach(::CreateCompatibleBitmap(pDC->GetSafeHdc(), nWidth, nHeight));
}

int CRgn::CombineRgn(const CRgn* pSrc1, const CRgn* pSrc2, int nMode)
{
    return ::CombineRgn(*this, *pSrc1, pSrc2 ? HRGN(*pSrc2) : nullptr, nMode);
}

BOOL CIcon::LoadSmallIcon(HINSTANCE hInstance, UINT nID)
{
    const HICON hIcon = static_cast<HICON>(::LoadImageA(hInstance, MAKEINTRESOURCEA(nID), IMAGE_ICON,
                                                         ::GetSystemMetrics(SM_CXSMICON),
                                                         ::GetSystemMetrics(SM_CYSMICON), 0));
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
    m_hIcon = hIcon;
    return hIcon != nullptr;
}

BOOL CMemoryDC::CreateCompatibleDC(CDC* pDC)
{
    DeleteDC();
    m_hDC = ::CreateCompatibleDC(pDC ? pDC->GetSafeHdc() : nullptr);
    return m_hDC != nullptr;
}

BOOL CMemoryDC::DeleteDC()
{
    const BOOL bDeleted = m_hDC ? ::DeleteDC(m_hDC) : FALSE;
    m_hDC = nullptr;
    return bDeleted;
}

void CDC::FillSolidRect(LPCRECT pRect, COLORREF cr)
{
    // The opaque background of an empty text run paints the rectangle
    // without creating a brush.
    ::SetBkColor(m_hDC, cr);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, pRect, nullptr, 0, nullptr);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) { m_hDC = ::BeginPaint(m_hWnd, &m_ps); }

CPaintDC::~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
