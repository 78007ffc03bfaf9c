// The single-document template's strings and the command line.
#include "window_test_app.h"
#include "window_test_res.h"
#include <gtest/gtest.h>

namespace {

TEST(WindowDocTemplate, SevenSubstringsOfTheTemplateString)
{
    CSingleDocTemplate tmpl(IDR_TEST_SHELL, nullptr, nullptr, nullptr);
    struct Case
    {
        CDocTemplate::DocStringIndex index;
        const char* text;
    } cases[] = {
        {CDocTemplate::windowTitle, "Sugarleaf Studio"},
        {CDocTemplate::docName, ""},
        {CDocTemplate::fileNewName, "Frostw"},
        {CDocTemplate::filterName, ""},
        {CDocTemplate::filterExt, ""},
        {CDocTemplate::regFileTypeId, "Zorv.Document"},
        {CDocTemplate::regFileTypeName, "Frostw Document"},
    };
    for (const Case& c : cases) {
        CString s = "stale";
        EXPECT_TRUE(tmpl.GetDocString(s, c.index)) << c.index;
        EXPECT_STREQ(c.text, s) << c.index;
    }
}

TEST(WindowCommandLine, OnlyAFileNameCounts)
{
    struct Param
    {
        const char* text;
        BOOL flag;
    };
    struct Case
    {
        std::vector<Param> params;
        int command;
        const char* file;
    } cases[] = {
        {{}, CCommandLineInfo::FileNew, ""},
        {{{"cake.ktb", FALSE}}, CCommandLineInfo::FileOpen, "cake.ktb"},
        {{{"p", TRUE}, {"cake.ktb", FALSE}}, CCommandLineInfo::FileOpen, "cake.ktb"},
        {{{"a.ktb", FALSE}, {"b.ktb", FALSE}}, CCommandLineInfo::FileOpen, "a.ktb"},
        {{{"dde", TRUE}}, CCommandLineInfo::FileNew, ""},
    };
    for (const Case& c : cases) {
        CCommandLineInfo info;
        for (size_t i = 0; i < c.params.size(); ++i)
            info.ParseParam(c.params[i].text, c.params[i].flag, i + 1 == c.params.size());
        EXPECT_EQ(c.command, info.m_nShellCommand);
        EXPECT_STREQ(c.file, info.m_strFileName);
    }
}

// A missing file on the command line: the open fails and start-up reports failure.
class OpenDoc : public CDocument
{
    DECLARE_DYNCREATE(OpenDoc)
};
IMPLEMENT_DYNCREATE(OpenDoc, CDocument)
class OpenView : public CView
{
    DECLARE_DYNCREATE(OpenView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(OpenView, CView)

TEST(WindowCommandLine, OpenOfAMissingFileFailsAndLeavesNoWindow)
{
    auto* tmpl = new CSingleDocTemplate(IDR_TEST_SHELL, RUNTIME_CLASS(OpenDoc), RUNTIME_CLASS(CFrameWnd),
                                        RUNTIME_CLASS(OpenView));
    TestApp().m_templates.push_back(tmpl);
    TestApp().messages.clear();
    CCommandLineInfo info;
    info.ParseParam("Z:\\no\\such\\cake.ktb", FALSE, TRUE);
    EXPECT_FALSE(TestApp().ProcessShellCommand(info));
    EXPECT_EQ(nullptr, tmpl->m_pOnlyDoc);
    EXPECT_EQ(nullptr, TestApp().m_pMainWnd);
    EXPECT_EQ(1u, TestApp().messages.size());
    TestApp().m_templates.pop_back();
    delete tmpl;
    MSG m;
    while (PeekMessage(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
    PumpPending();
}

} // namespace
