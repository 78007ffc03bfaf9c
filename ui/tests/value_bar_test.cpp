// The value bar over each of its controls in a real dialog: stored values shown rounded to
// the nearest position, each label format, the range, and the deferred apply that turns a
// burst of moves into one change of the design.
#include "ui/tests/value_dialog.h"

#include "testsupport/Input.h"
#include "testsupport/Pump.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// A document that counts how often it is marked modified.
class CountingDoc : public CFrostwellDoc
{
public:
    void SetModifiedFlag(BOOL modified) override
    {
        if (modified)
            ++marks;
        CFrostwellDoc::SetModifiedFlag(modified);
    }
    int marks = 0;
};

struct Kind
{
    ValueControl kind;
    int control; // the control's id in the dialog
    int label;
    const char* name;
};
const Kind kKinds[] = {
    {ValueControl::Slider, IDC_T_VAL_SLIDER, IDC_T_VAL_LABEL_SLIDER, "slider"},
    {ValueControl::ScrollBar, IDC_T_VAL_SCROLL, IDC_T_VAL_LABEL_SCROLL, "scroll bar"},
    {ValueControl::RoundSlider, IDC_T_VAL_DIAL, IDC_T_VAL_LABEL_DIAL, "round slider"},
};

// The position the control itself shows.
int ControlPosition(ValueDialog& dlg, const Kind& k)
{
    if (k.kind == ValueControl::ScrollBar)
        return dlg.bar.GetScrollPos();
    return (int)::SendDlgItemMessage(dlg.m_hWnd, k.control, TBM_GETPOS, 0, 0);
}

// One move of the control as a person makes it: the slider dragged one further, the
// scroll bar's wheel turned one notch, the dial's Right key.
void MoveOnce(ValueDialog& dlg, const Kind& k)
{
    switch (k.kind) {
    case ValueControl::Slider:
        SetSlider(dlg.m_hWnd, k.control, ControlPosition(dlg, k) + 1);
        break;
    case ValueControl::ScrollBar:
        ::PostMessage(dlg.bar.m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-120), 0);
        break;
    case ValueControl::RoundSlider:
        ::PostMessage(dlg.dial.m_hWnd, WM_KEYDOWN, VK_RIGHT, 1);
        break;
    }
    PumpPending();
}

class ValueBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dlg.Open(40, 40));
        for (CValueBar& v : bars)
            dlg.values.push_back(&v);
    }
    CWnd* Control(const Kind& k) { return CWnd::FromHandle(::GetDlgItem(dlg.m_hWnd, k.control)); }
    CValueBar& Bind(int i, float scale, const char* format, int minimum, int maximum, bool deferred)
    {
        const Kind& k = kKinds[i];
        CWnd* control = k.kind == ValueControl::ScrollBar     ? static_cast<CWnd*>(&dlg.bar)
                        : k.kind == ValueControl::RoundSlider ? static_cast<CWnd*>(&dlg.dial)
                                                              : Control(k);
        bars[i].Bind(control, CWnd::FromHandle(::GetDlgItem(dlg.m_hWnd, k.label)), k.kind, scale, format, minimum,
                     maximum, deferred);
        return bars[i];
    }
    ValueDialog dlg;
    CValueBar bars[3];
};

// Whole numbers k whose k / 100 comes back below k when scaled by 100 and truncated:
// in float arithmetic, a float scaled in double, and in double arithmetic.
struct NearMisses
{
    std::vector<int> floatFloat, floatDouble, doubleDouble;
};
NearMisses FindNearMisses()
{
    NearMisses found;
    for (int k = 1; k <= 100; ++k) {
        volatile float f = k / 100.0f;
        volatile float scaled = f * 100.0f;
        if ((int)scaled < k)
            found.floatFloat.push_back(k);
        if ((int)((double)f * 100.0) < k)
            found.floatDouble.push_back(k);
        volatile double d = k / 100.0;
        if ((int)(d * 100.0) < k)
            found.doubleDouble.push_back(k);
    }
    return found;
}

TEST_F(ValueBarTest, StoredValuesShowRoundedNotTruncated)
{
    const NearMisses misses = FindNearMisses();
    ASSERT_FALSE(misses.floatFloat.empty()) << "no float that truncates below its whole number";
    ASSERT_FALSE(misses.floatDouble.empty());
    ASSERT_FALSE(misses.doubleDouble.empty());
    for (int k : misses.doubleDouble)
        EXPECT_EQ(k, CValueBar::ToPosition(k / 100.0, 100.0f)) << k << " in double";

    std::vector<int> stored = misses.floatFloat;
    stored.insert(stored.end(), misses.floatDouble.begin(), misses.floatDouble.end());
    for (int i = 0; i < 3; ++i) {
        CValueBar& v = Bind(i, 100.0f, kValuePercent, 0, 100, false);
        for (int k : stored) {
            v.SetStored(k / 100.0f);
            EXPECT_EQ(k, v.GetPosition()) << kKinds[i].name << " " << k;
            EXPECT_EQ(k, ControlPosition(dlg, kKinds[i])) << kKinds[i].name << " " << k;
            EXPECT_EQ(std::to_string(k) + "%", (LPCTSTR)ItemText(dlg.m_hWnd, kKinds[i].label)) << kKinds[i].name;
        }
    }
}

TEST_F(ValueBarTest, FormatsAndTheRange)
{
    struct Case
    {
        const char* format;
        float scale;
        int minimum, maximum;
        float stored;
        int position;
        const char* label;
    } cases[] = {
        {kValuePercent, 100.0f, 0, 100, 0.37f, 37, "37%"},
        {kValueTwoDecimals, 100.0f, 0, 500, 1.25f, 125, "1.25"},
        {kValueTwoDecimals, 100.0f, 0, 500, 0.07f, 7, "0.07"},
        {kValueMillimetres, 25.4f, 0, 254, 1.0f, 25, "25mm"}, // inches shown in mm
        {kValueMillimetres, 25.4f, 0, 254, 0.5f, 13, "13mm"}, // 12.7 rounds up
        {kValueDegrees, 1.0f, 0, 359, 45.0f, 45, "45\xB0"},   // the ANSI degree sign
        {kValuePercent, 100.0f, 0, 100, 1.5f, 100, "100%"},   // above the range
        {kValuePercent, 100.0f, 10, 100, -0.2f, 10, "10%"},   // below it
        {kValueDegrees, 1.0f, 0, 359, 400.0f, 359, "359\xB0"},
    };
    for (int i = 0; i < 3; ++i) {
        for (const Case& c : cases) {
            CValueBar& v = Bind(i, c.scale, c.format, c.minimum, c.maximum, false);
            v.SetStored(c.stored);
            EXPECT_EQ(c.position, v.GetPosition()) << kKinds[i].name << " " << c.label;
            EXPECT_EQ(c.position, ControlPosition(dlg, kKinds[i])) << kKinds[i].name << " " << c.label;
            EXPECT_STREQ(c.label, ItemText(dlg.m_hWnd, kKinds[i].label)) << kKinds[i].name;
            EXPECT_FLOAT_EQ(c.position / c.scale, v.GetStored()) << kKinds[i].name << " " << c.label;
        }
    }
}

TEST_F(ValueBarTest, TenQuickMovesApplyOnceAfterTheLast)
{
    for (int i = 0; i < 3; ++i) {
        for (bool deferred : {true, false}) {
            std::unique_ptr<CountingDoc> doc(new CountingDoc);
            std::vector<float> applied;
            DWORD appliedAt = 0;
            CValueBar& v = Bind(i, 100.0f, kValuePercent, 0, 100, deferred);
            v.SetDocument(doc.get(), EditScope::DesignArea);
            v.SetApply([&](float stored) {
                applied.push_back(stored);
                appliedAt = ::GetTickCount();
            });
            v.SetStored(0.2f);
            const DWORD first = ::GetTickCount();
            for (int n = 0; n < 10; ++n)
                MoveOnce(dlg, kKinds[i]);
            const char* what = kKinds[i].name;
            ASSERT_EQ(30, v.GetPosition()) << what;
            if (!deferred) {
                EXPECT_EQ(10u, applied.size()) << what << ": each change at once";
                EXPECT_EQ(10, doc->marks) << what;
                continue;
            }
            ASSERT_LT(dlg.lastChange - first, 100u) << what << ": the ten moves took too long to test this";
            EXPECT_TRUE(applied.empty()) << what << ": nothing before the wait";
            ASSERT_TRUE(PumpUntil([&] { return !applied.empty(); }, 2000)) << what;
            EXPECT_GE(appliedAt - dlg.lastChange, 95u) << what << ": 100 ms after the last move";
            EXPECT_FALSE(PumpUntil([&] { return applied.size() > 1; }, 300)) << what;
            EXPECT_EQ(1u, applied.size()) << what;
            EXPECT_FLOAT_EQ(0.3f, applied[0]) << what;
            EXPECT_EQ(1, doc->marks) << what << ": the design marked modified once";
            EXPECT_TRUE(doc->IsModified());
            EXPECT_TRUE(doc->NeedsRedraw());
        }
    }
}

} // namespace
