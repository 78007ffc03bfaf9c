#include "ui/ValueBar.h"

#include "ui/XScrollBar.h"

#include <climits>
#include <cmath>
#include <cstring>

const char kValuePercent[] = "%d%%";
const char kValueTwoDecimals[] = "%0.2f";
const char kValueMillimetres[] = "%dmm";
const char kValueDegrees[] = "%ld\xB0";

namespace {

// The conversion letter of the first real conversion of a printf format, and whether it
// has the long modifier; 0 when there is none.
char Conversion(const char* format, bool* isLong)
{
    *isLong = false;
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%')
            continue;
        if (p[1] == '%') {
            ++p;
            continue;
        }
        ++p;
        while (*p != '\0' && std::strchr("-+ #0123456789.", *p) != nullptr)
            ++p;
        while (*p == 'l' || *p == 'h') {
            *isLong = *isLong || *p == 'l';
            ++p;
        }
        return *p;
    }
    return 0;
}

} // namespace

int CValueBar::ToPosition(double stored, float scale)
{
    const double scaled = stored * (double)scale;
    if (std::isnan(scaled))
        return 0;
    if (scaled >= (double)INT_MAX)
        return INT_MAX;
    if (scaled <= (double)INT_MIN)
        return INT_MIN;
    return (int)std::lround(scaled);
}

CString CValueBar::FormatValue(const char* format, int position, float scale)
{
    CString text;
    bool isLong = false;
    const char conversion = Conversion(format, &isLong);
    if (conversion == 'f' || conversion == 'e' || conversion == 'g')
        text.Format(format, scale != 0 ? (double)position / scale : 0.0);
    else if (conversion == 0)
        text = format;
    else if (isLong)
        text.Format(format, (long)position);
    else
        text.Format(format, position);
    return text;
}

void CValueBar::Bind(CWnd* control, CWnd* label, ValueControl kind, float scale, const char* format, int minimum,
                     int maximum, bool deferred)
{
    m_pControl = control;
    m_pLabel = label;
    m_kind = kind;
    m_fScale = scale;
    m_strFormat = format;
    m_nMin = minimum < maximum ? minimum : maximum;
    m_nMax = minimum < maximum ? maximum : minimum;
    m_bDeferred = deferred;
    m_bPending = false;
    if (m_pControl == nullptr || m_pControl->GetSafeHwnd() == nullptr)
        return;
    if (m_kind == ValueControl::ScrollBar) {
        static_cast<CXScrollBar*>(m_pControl)->SetScrollRange(m_nMin, m_nMax, TRUE);
    } else {
        m_pControl->SendMessage(TBM_SETRANGEMIN, FALSE, m_nMin);
        m_pControl->SendMessage(TBM_SETRANGEMAX, TRUE, m_nMax);
    }
    m_nPos = Clamp(ReadControl(0));
    ShowPosition();
}

int CValueBar::Clamp(int position) const
{
    return position < m_nMin ? m_nMin : (position > m_nMax ? m_nMax : position);
}

int CValueBar::ReadControl(int posted) const
{
    switch (m_kind) {
    case ValueControl::ScrollBar:
        return static_cast<CXScrollBar*>(m_pControl)->GetScrollPos();
    case ValueControl::RoundSlider:
        // The dial posts its notifications: the position they carry is the one to take.
        return posted;
    case ValueControl::Slider:
    default:
        return (int)m_pControl->SendMessage(TBM_GETPOS);
    }
}

void CValueBar::ShowPosition(bool onControl)
{
    if (onControl && m_pControl != nullptr && m_pControl->GetSafeHwnd() != nullptr) {
        if (m_kind == ValueControl::ScrollBar)
            static_cast<CXScrollBar*>(m_pControl)->SetScrollPos(m_nPos, TRUE);
        else
            m_pControl->SendMessage(TBM_SETPOS, TRUE, m_nPos);
    }
    if (m_pLabel != nullptr && m_pLabel->GetSafeHwnd() != nullptr)
        m_pLabel->SetWindowText(GetLabelText());
}

CString CValueBar::GetLabelText() const { return FormatValue(m_strFormat, m_nPos, m_fScale); }

void CValueBar::SetStored(float stored)
{
    m_nPos = Clamp(ToPosition(stored, m_fScale));
    ShowPosition();
}

BOOL CValueBar::OnScroll(HWND from, UINT, int position)
{
    if (from == nullptr || from != GetControl())
        return FALSE;
    const int read = ReadControl(position);
    const int clamped = Clamp(read);
    if (clamped == m_nPos) {
        if (read != clamped)
            ShowPosition();
        return TRUE;
    }
    m_nPos = clamped;
    // The control shows its own position already, unless it had to be brought into range.
    ShowPosition(read != clamped);
    if (!m_bDeferred) {
        Apply();
        return TRUE;
    }
    // Every move starts the wait again: the change applies 100 ms after the last one.
    m_bPending = true;
    ::SetTimer(::GetParent(from), kDeferTimer, kDeferMs, nullptr);
    return TRUE;
}

BOOL CValueBar::OnTimer(UINT_PTR id)
{
    if (id != kDeferTimer)
        return FALSE;
    if (GetControl() != nullptr)
        ::KillTimer(::GetParent(GetControl()), kDeferTimer);
    if (m_bPending)
        Apply();
    return TRUE;
}

void CValueBar::Flush()
{
    if (m_bPending)
        Apply();
}

void CValueBar::Apply()
{
    m_bPending = false;
    if (m_apply)
        m_apply(GetStored());
    if (m_pDoc != nullptr)
        m_pDoc->DesignEdited(m_scope);
}
