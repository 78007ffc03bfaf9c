#include "ui/tests/value_dialog.h"

constexpr RECT ValueDialog::kScroll;
constexpr RECT ValueDialog::kVScroll;
constexpr RECT ValueDialog::kDial;

BEGIN_MESSAGE_MAP(ValueDialog, CDialog)
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_TIMER()
END_MESSAGE_MAP()
