// GDI+ for the whole run of a test executable.  The tests' main (TestMain.cpp) registers
// one GdiplusEnv with GoogleTest, so GDI+ is started once before the first test and shut
// down after the last; no test starts or stops GDI+ itself.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

class GdiplusEnv : public ::testing::Environment
{
public:
    void SetUp() override;
    void TearDown() override;

private:
    ULONG_PTR m_token = 0;
};
