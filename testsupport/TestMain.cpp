// The main of every test executable: GoogleTest with GDI+ for the whole run.
#include "testsupport/GdiplusEnv.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GdiplusEnv);
    return RUN_ALL_TESTS();
}
