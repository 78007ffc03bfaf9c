// The print password: digest of the typed text and its comparison with the stored one.
#include "app/print/PasswordDlg.h"

#include <gtest/gtest.h>

TEST(PrintPassword, DigestIsLowerCaseMd5OfTheTypedBytes)
{
    static const struct
    {
        const char* typed;
        const char* digest;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"}, // empty text still has a digest
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"Abc", "35593b7ce5020eae3ca68fd5b6f3e031"},      // letter case of the password counts
        {"cake\xE9", "683958a6aba6dbf7f33dc6dacf371c0c"}, // 8-bit text hashed byte for byte
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.digest, (LPCTSTR)ComputePasswordDigest(c.typed)) << c.typed;
}

TEST(PrintPassword, StoredDigestMatchesInEitherLetterCase)
{
    const CString typed = ComputePasswordDigest("secret");
    static const struct
    {
        const char* stored;
        BOOL match;
    } cases[] = {
        {"5ebe2294ecd0e0f08eab7690d2a6ee69", TRUE},
        {"5EBE2294ECD0E0F08EAB7690D2A6EE69", TRUE}, // written upper case by another release
        {"5Ebe2294ecd0e0f08eab7690d2a6ee69", TRUE},
        {"5ebe2294ecd0e0f08eab7690d2a6ee6", FALSE}, // one digit short
        {"5ebe2294ecd0e0f08eab7690d2a6ee69 ", FALSE},
        {"", FALSE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.match, PasswordDigestMatches(typed, c.stored)) << c.stored;
}

TEST(PrintPassword, CancelledDialogNeverMatches)
{
    EXPECT_FALSE(PasswordDigestMatches("", ""));
    EXPECT_FALSE(PasswordDigestMatches("", "d41d8cd98f00b204e9800998ecf8427e"));
    // The digest of an empty password is not the empty digest of a cancelled dialog.
    EXPECT_TRUE(PasswordDigestMatches(ComputePasswordDigest(""), "D41D8CD98F00B204E9800998ECF8427E"));
}
