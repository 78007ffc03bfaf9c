#include "testsupport/GdiplusEnv.h"

void GdiplusEnv::SetUp()
{
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&m_token, &input, nullptr)) << "GDI+ did not start";
}

void GdiplusEnv::TearDown()
{
    if (m_token != 0)
        Gdiplus::GdiplusShutdown(m_token);
    m_token = 0;
}
