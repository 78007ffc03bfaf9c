// The digest calculator: algorithms, sources, output formats and setters.
#include "digest/hash_calculator.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>

namespace {

// The calculator's algorithm settings, SHA-2 in its three lengths.
struct Setting
{
    int algorithm;
    int shaLength;
    const char* name;
};

const Setting kSettings[] = {
    {1, 256, "CRC-32"}, {2, 256, "GOST"},    {3, 256, "MD2"},     {4, 256, "MD4"},     {5, 256, "MD5"},
    {6, 256, "SHA-1"},  {7, 256, "SHA-256"}, {7, 384, "SHA-384"}, {7, 512, "SHA-512"},
};
const int kSettingCount = sizeof kSettings / sizeof kSettings[0];

CString TextDigest(int algorithm, int shaLength, const CString& text)
{
    CHashCalculator calc;
    calc.SetAlgorithm(algorithm);
    calc.SetShaLength(shaLength);
    calc.SetText(text);
    return calc.Compute();
}

CString FileDigest(int algorithm, int shaLength, const CString& path, int format = 1)
{
    CHashCalculator calc;
    calc.SetAlgorithm(algorithm);
    calc.SetShaLength(shaLength);
    calc.SetOutputFormat(format);
    calc.SetSource(2);
    calc.SetFileName(path);
    return calc.Compute();
}

void WriteFile(const char* path, const std::string& bytes)
{
    FILE* f = std::fopen(path, "wb");
    ASSERT_NE(nullptr, f) << path;
    ASSERT_EQ(bytes.size(), std::fwrite(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
}

// File contents by formula, never a zero byte so that a text can hold them too.
std::string FileContent(size_t n)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>(1 + ((static_cast<uint32_t>(i) * 2654435761u) >> 24) % 255);
    return s;
}

} // namespace

// Text source, default output format.  Standard vectors: RFC 1319/1320/1321, FIPS 180,
// the GOST standard's own two examples, and the CRC-32 check value.
TEST(HashCalculator, StandardVectors)
{
    static const struct
    {
        int algorithm;
        int shaLength;
        const char* text;
        const char* digest;
    } cases[] = {
        {1, 256, "", "00000000"},
        {1, 256, "abc", "352441c2"},
        {1, 256, "123456789", "cbf43926"},
        {2, 256, "", "ce85b99cc46752fffee35cab9a7b0278abb4c2d2055cff685af4912c49490f8d"},
        {2, 256, "abc", "f3134348c44fb1b2a277729e2285ebb5cb5e0f29c975bc753b70497c06a4d51d"},
        {2, 256, "This is message, length=32 bytes",
         "b1c466d37519b82e8319819ff32595e047a28cb6f83eff1c6916a815a637fffa"},
        {2, 256, "Suppose the original message has length = 50 bytes",
         "471aba57a60a770d3a76130635c1fbea4ef14de51f78b4ae57dd893b62f55208"},
        {3, 256, "", "8350e5a3e24c153df2275c9f80692773"},
        {3, 256, "abc", "da853b0d3f88d99b30283a69e6ded6bb"},
        {3, 256, "message digest", "ab4f496bfb2a530b219ff33031fe06b0"},
        {3, 256, "12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "d5976f79d83d3a0dc9806c3c66f3efd8"},
        {4, 256, "", "31d6cfe0d16ae931b73c59d7e0c089c0"},
        {4, 256, "abc", "a448017aaf21d8525fc10ae87aa6729d"},
        {4, 256, "message digest", "d9130a8164549fe818874806e1c7014b"},
        {4, 256, "12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "e33b4ddc9c38f2199c3e7b164fcc0536"},
        {5, 256, "", "d41d8cd98f00b204e9800998ecf8427e"},
        {5, 256, "abc", "900150983cd24fb0d6963f7d28e17f72"},
        {5, 256, "12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
        // The text's own 8-bit bytes ("ete" with acute accents in code page 1252).
        {5, 256, "\xE9t\xE9", "70b06e3087350c8c4fc3f13e741879f3"},
        {6, 256, "", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
        {6, 256, "abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {6, 256, "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        {7, 256, "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {7, 256, "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {7, 256, "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {7, 384, "",
         "38b060a751ac96384cd9327eb1b1e36a21fdb71114be07434c0cc7bf63f6e1da"
         "274edebfe76f65fbd51ad2f14898b95b"},
        {7, 384, "abc",
         "cb00753f45a35e8bb5a03d699ac65007272c32ab0eded1631a8b605a43ff5bed"
         "8086072ba1e7cc2358baeca134c825a7"},
        {7, 384,
         "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmno"
         "ijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu",
         "09330c33f71147e83d192fc782cd1b4753111b173b3b05d22fa08086e3b0f712"
         "fcc7c71a557e2db966c3e9fa91746039"},
        {7, 512, "",
         "cf83e1357eefb8bdf1542850d66d8007d620e4050b5715dc83f4a921d36ce9ce"
         "47d0d13c5d85f2b0ff8318d2877eec2f63b931bd47417a81a538327af927da3e"},
        {7, 512, "abc",
         "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
         "2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f"},
        {7, 512,
         "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmno"
         "ijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu",
         "8e959b75dae313da8cf4f72814fc143f8f7779c6eb9f7fa17299aeadb6889018"
         "501d289e4900f7e4331b99dec4b5433ac7d329eeb6dd26545e96e55b874be909"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.digest, (LPCTSTR)TextDigest(c.algorithm, c.shaLength, c.text))
            << "algorithm " << c.algorithm << "/" << c.shaLength << " of \"" << c.text << "\"";
    }
}

TEST(HashCalculator, NewCalculatorComputesSha1OfItsText)
{
    CHashCalculator calc;
    EXPECT_EQ(6, calc.GetAlgorithm());
    EXPECT_EQ(1, calc.GetSource());
    EXPECT_EQ(1, calc.GetOutputFormat());
    EXPECT_EQ(256, calc.GetShaLength());
    EXPECT_STREQ("", (LPCTSTR)calc.GetText());
    EXPECT_STREQ("", (LPCTSTR)calc.GetFileName());
    calc.SetText("abc");
    EXPECT_STREQ("abc", (LPCTSTR)calc.GetText());
    EXPECT_STREQ("a9993e364706816aba3e25717850c26c9cd0d89d", (LPCTSTR)calc.Compute());
    // Fields keep their values: a second call gives the same text.
    EXPECT_STREQ("a9993e364706816aba3e25717850c26c9cd0d89d", (LPCTSTR)calc.Compute());
}

TEST(HashCalculator, OutputFormatsOfCrc32)
{
    static const struct
    {
        int format;
        const char* text;
    } cases[] = {
        {1, "352441c2"},
        {2, "35 24 41 c2 "},
        {3, "352441C2"},
        {4, "35 24 41 C2 "},
    };
    for (const auto& c : cases) {
        CHashCalculator calc;
        calc.SetAlgorithm(1);
        calc.SetText("abc");
        calc.SetOutputFormat(c.format);
        EXPECT_STREQ(c.text, (LPCTSTR)calc.Compute()) << "format " << c.format;
    }
}

// Separated formats: every digest byte as its pair of digits and one blank.
TEST(HashCalculator, SeparatedFormatsOfEveryAlgorithm)
{
    static const int kBytes[] = {4, 32, 16, 16, 16, 20, 32, 48, 64};
    for (int i = 0; i < kSettingCount; ++i) {
        const Setting& s = kSettings[i];
        CHashCalculator calc;
        calc.SetAlgorithm(s.algorithm);
        calc.SetShaLength(s.shaLength);
        calc.SetText("abc");
        const std::string plain = (LPCTSTR)calc.Compute();
        calc.SetOutputFormat(4);
        const std::string upper = (LPCTSTR)calc.Compute();
        calc.SetOutputFormat(2);
        const std::string spaced = (LPCTSTR)calc.Compute();
        ASSERT_EQ(2u * kBytes[i], plain.size()) << s.name;
        ASSERT_EQ(3u * kBytes[i], spaced.size()) << s.name;
        for (int b = 0; b < kBytes[i]; ++b) {
            EXPECT_EQ(plain.substr(2 * b, 2) + " ", spaced.substr(3 * b, 3)) << s.name << " byte " << b;
            for (int k = 0; k < 3; ++k)
                EXPECT_EQ(toupper(static_cast<unsigned char>(spaced[3 * b + k])), upper[3 * b + k]) << s.name;
        }
    }
}

TEST(HashCalculator, SettersFallBack)
{
    static const struct
    {
        const char* setter;
        int value;
        int stored;
    } cases[] = {
        {"format", 1, 1},    {"format", 2, 2},  {"format", 3, 3},   {"format", 4, 4},    {"format", 0, 1},
        {"format", 5, 1},    {"format", -1, 1}, {"source", 1, 1},   {"source", 2, 2},    {"source", 0, 1},
        {"source", 3, 1},    {"sha", 256, 256}, {"sha", 384, 384},  {"sha", 512, 512},   {"sha", 224, 256},
        {"sha", 32, 256},    {"sha", 0, 256},   {"sha", 1024, 256}, {"algorithm", 0, 0}, {"algorithm", 8, 8},
        {"algorithm", 5, 5},
    };
    for (const auto& c : cases) {
        CHashCalculator calc;
        const std::string setter = c.setter;
        int got = 0;
        if (setter == "format") {
            calc.SetOutputFormat(3);
            calc.SetOutputFormat(c.value);
            got = calc.GetOutputFormat();
        } else if (setter == "source") {
            calc.SetSource(2);
            calc.SetSource(c.value);
            got = calc.GetSource();
        } else if (setter == "sha") {
            calc.SetShaLength(512);
            calc.SetShaLength(c.value);
            got = calc.GetShaLength();
        } else {
            calc.SetAlgorithm(c.value);
            got = calc.GetAlgorithm();
        }
        EXPECT_EQ(c.stored, got) << c.setter << " " << c.value;
    }
}

TEST(HashCalculator, UnknownAlgorithmGivesEmptyText)
{
    for (int algorithm : {0, 8, -1}) {
        for (int format = 1; format <= 4; ++format) {
            CHashCalculator calc;
            calc.SetAlgorithm(algorithm);
            calc.SetOutputFormat(format);
            calc.SetText("abc");
            EXPECT_STREQ("", (LPCTSTR)calc.Compute()) << algorithm << " format " << format;
        }
    }
}

// The file source on sizes around the read blocks (2048 for MD5, 4096 for CRC-32, 16000
// for the others) equals the text source on the same bytes and the Linux tools.
// Expected values were taken from files written by FileContent() with
// `rhash --printf '%{crc32} %{gost94} %{md4} %{md5} %{sha1}'`, coreutils' sha256sum,
// sha384sum and sha512sum, and (MD2, which no tool at hand computes) a separate
// implementation that meets RFC 1319's test suite.
TEST(HashCalculator, FileSourceMatchesTextSourceAndTools)
{
    static const struct
    {
        size_t size;
        const char* digest[kSettingCount]; // in the order of kSettings
    } cases[] = {
        {
            0,
            "00000000",
            "ce85b99cc46752fffee35cab9a7b0278abb4c2d2055cff685af4912c49490f8d",
            "8350e5a3e24c153df2275c9f80692773",
            "31d6cfe0d16ae931b73c59d7e0c089c0",
            "d41d8cd98f00b204e9800998ecf8427e",
            "da39a3ee5e6b4b0d3255bfef95601890afd80709",
            "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855",
            "38b060a751ac96384cd9327eb1b1e36a21fdb71114be07434c0cc7bf63f6e1da"
            "274edebfe76f65fbd51ad2f14898b95b",
            "cf83e1357eefb8bdf1542850d66d8007d620e4050b5715dc83f4a921d36ce9ce"
            "47d0d13c5d85f2b0ff8318d2877eec2f63b931bd47417a81a538327af927da3e",
        },
        {
            1,
            "a505df1b",
            "c3503705d6f8e89d3e3ce86b4c3936f2994fe4d96f9c21d0010e89702f883cab",
            "6156665843a7281afec331f09b0ef309",
            "33f9a9fbd93ecca018b0387a4a6aec5d",
            "55a54008ad1ba589aa210d2629c1df41",
            "bf8b4530d8d246dd74ac53a13471bba17941dff7",
            "4bf5122f344554c53bde2ebb8cd2b7e3d1600ad631c385a5d7cce23c7785459a",
            "8d2ce87d86f55fcfab770a047b090da23270fa206832dfea7e0c946fff451f81"
            "9add242374be551b0d6318ed6c7d41d8",
            "7b54b66836c1fbdd13d2441d9e1434dc62ca677fb68f5fe66a464baadecdbd00"
            "576f8d6b5ac3bcc80844b7d50b1cc6603444bbe7cfcf8fc0aa1ee3c636d9e339",
        },
        {
            2047,
            "1beb7c72",
            "0c4243aee71618bbb12307420004360b0b414992193601b0fb35da4d5e5fa078",
            "d00dba257f6b32bb240f462c300df128",
            "eeefb217ac7d9b10fea6c14eae563382",
            "485f58cb3b33bd1dd626003c64b7a521",
            "a4ce4df6b6313dd19cf314b0c12ec87cf6dcbcaf",
            "374ce7dbc78aa1cc4b59f141bf4ba60696ee42c3744ddb04f1c79add5fe4652d",
            "10c2018de1b4b6836a99f02fe8eaabafa7be52c11ed73c588be83edfe6ff51ac"
            "f3153d71589428737abaff5c8d769413",
            "50ee13ccdfc8b27b05328f0f5cd3f19af6c4e7b332b7197b10a9a390b20e0ff0"
            "ed8b5ac3611dc8bd4de090bffaf40fca5ccf57e4cbe63500600c3af8239101ab",
        },
        {
            2048,
            "961d2982",
            "30e0e75ae0c1a72dc761749bce2d7554d6c21a7d73b21ef2e3cd398ff304f291",
            "95442c5524f703189fe896e14ba9034a",
            "6e1dc1fb8037114291c385996ac4b44d",
            "49a8d6081bb7987fb84a939bb8c92924",
            "1b57a2076de9991bd2d485439d959e4bb9801faa",
            "d5cfc740af766c9d4646deb103256b4a58cc0c07a9853843baca75cbdefa5119",
            "8f5250ffec391154d069bdb597f769e1fd52d8fd278ba8eff2388d42de5e4a37"
            "48b18209a73e446655287053dfe3b276",
            "18c87602853351ec4835af1dd90c08f077a44988a5535d1aab05413027c4c5e7"
            "4358e6097f7ac2b901e147b7e579d6bb133490c19cc9bcbf1b41b6865a4fde98",
        },
        {
            2049,
            "13f5ef0f",
            "192d8aa47191f040748627d94253c37743672e103ce54909b20dbb1c46242690",
            "66e05922bd741baab9d025dafed36d28",
            "9e70a422b833c68594ed18b0e50bc1bd",
            "313ae37809af834b14413bd16b78d6ef",
            "9c0480b4bde628cffd7ccb69bd1ee279fda2d533",
            "6a074f9d4671cebeae4bebca662441065a49ef8615cf30c1865df2f37e2c55f7",
            "f14f3ad156959e41cadf3cda5f0b2072acc9124c5b03d99cc3b015a6988927e4"
            "0cd13577e0830eb9682896f3acb0b9d9",
            "09c50fc879d6f8831e1eee097c9f1f6a8db3ccfc92bea047b44cc1ac1932b489"
            "16b70d738858a69a951b49cc6289f8b8031395b72c33459c82bc266defec3543",
        },
        {
            15999,
            "413e09c2",
            "ea0abc878a5ec0812c5363df7237f33c430b72c8555f25aa3643f324e9597c69",
            "b1c9b87a564a61c00e06b82e02e8d49b",
            "6df9971b02fc4e5e2dc1f63e213ab489",
            "82e31950a37247c8848d179dbac33ef0",
            "0032b6bbc08c885b8e8bd6b8143e4762552b4f45",
            "5e74f51207206a161477c74df4265149f3e3579cf4b4bf1ef6e57f042e88e857",
            "49702abc9a04e4db1a35d46587c1edc9b3515b08bc1bb40fdec4c8a07e341631"
            "05ca4ad5a3d0eaa62ef18eee981b7c63",
            "35a41fe2fe58583b0441f558840368083c7123e2daf8c5d8e7bdc3a878c57ade"
            "f038c94b15499974a09b3ea1cdd7ef1c42d7027e3848f7f4a9ef6e434ebe572c",
        },
        {
            16000,
            "7992ecdd",
            "655d88e43b48a3091cb9837ae47fa40e02f4c39fa7307be61d9abd83aaf1e8db",
            "635c87b992d3b0a80090653eb8f4ea8b",
            "a9e841eb8bf8bb89ddbd3f0668eb71df",
            "8a9a724195e0bad583b8681d1aba3864",
            "7a5906e5db5d25dcf5db52bf0bd58956cfa975d7",
            "4e52ed8a66f777dad811e7b619daf2cda3ca7a9da3ec0f82abd2b8940fa2f782",
            "b8c8d9fbb224c08244ac9a62ae534926c972d12bd712d215b02f1a8a7cc4eb97"
            "9aafe4024b405dfc6327d6249a314b0c",
            "05de1fd4486429c4039ac5d151b2a0c6ed75a996e26e890f749ec7a605bccfb7"
            "7b8bfd63635d1958125af3859e5b8259f3ea95775731e6c0340c4ce2dd31387e",
        },
        {
            16001,
            "ce171c03",
            "9b4880a69c4b46224c50c65444d8fe824bdc0b8f86db9aaca145964b7bd9c397",
            "86f7885c21738741d77070409c4bbec5",
            "338fc64fde8e128c98e06187d0c4544c",
            "ae5270a4601935ff76aceb955d30f527",
            "e426e84cc1e208886ad64511c07aba9106363791",
            "54a2251964ee1c99e6ab30635b219121def0d01c18a36271e5e3d8b7728f3e3d",
            "a02bfd1366f43ace2675ea39489cd6c7a6e864fe76b0814d6fd62ed9eda39138"
            "28d103d9a7854b21635a4f1b988b4aa1",
            "20dcc8e4768a33b42f09e34eaf14c1cff6d063f7541ff1e3b6b60d26a7adde38"
            "8598c229a184a29e55bbda7eb9e58a2d121428e84b3f614fb33ab1e562997f5f",
        },
        {
            100000,
            "f8f87925",
            "88ae96e49cd566ad87f17f71f731e1a98bdaa7779f8a8b302d99e6147badf3b3",
            "2bae0ebc1f67b5c4aef70f4208e631f0",
            "1c76a4e8a0c49fe7869729bf4ffb03bd",
            "6059ed53ef811c7a041ec55f2a3fad5a",
            "d3cee161eab055d05c7aa80dbe037b8297a78377",
            "6cdca1e44bf0e449375d2a6f2d0977f4989a57e4f1897b9c9a14e6c9e48e1eb7",
            "fd3fb633d28aac4d6e06bbdb8f34502e65b8ce54d989536f7f472801dbc15cac"
            "1d7cd56ffd1bf213919211822d9c04b1",
            "c349daac9a5a992544355a517568bf060f02c91f5f95042458e1a8cbdac1733f"
            "d6350866ddb87443f44a34008cf40a9dd7ae2a6fd19e0788314a354739b42103",
        },
    };
    for (const auto& c : cases) {
        const std::string bytes = FileContent(c.size);
        char path[64];
        std::snprintf(path, sizeof path, "digest_size_%u.bin", static_cast<unsigned>(c.size));
        WriteFile(path, bytes);
        const CString text(bytes.c_str());
        ASSERT_EQ(static_cast<int>(c.size), text.GetLength());
        for (int i = 0; i < kSettingCount; ++i) {
            const Setting& s = kSettings[i];
            EXPECT_STREQ(c.digest[i], (LPCTSTR)FileDigest(s.algorithm, s.shaLength, path))
                << s.name << " of file, " << c.size << " bytes";
            EXPECT_STREQ(c.digest[i], (LPCTSTR)TextDigest(s.algorithm, s.shaLength, text))
                << s.name << " of text, " << c.size << " bytes";
        }
        std::remove(path);
    }
}

// A file that cannot be read gives "" for every algorithm and format, while an empty
// file gives the digest of the empty message (CRC-32 "00000000", MD5 d41d8c...).
TEST(HashCalculator, UnreadableFileGivesEmptyText)
{
    WriteFile("digest_empty.bin", "");
    CreateDirectoryA("digest_folder", nullptr);
    for (const char* path : {"digest_no_such_file.bin", "", "digest_folder"}) {
        for (const Setting& s : kSettings) {
            for (int format = 1; format <= 4; ++format) {
                EXPECT_STREQ("", (LPCTSTR)FileDigest(s.algorithm, s.shaLength, path, format))
                    << s.name << " of \"" << path << "\" format " << format;
            }
        }
    }
    EXPECT_STREQ("00000000", (LPCTSTR)FileDigest(1, 256, "digest_empty.bin"));
    EXPECT_STREQ("d41d8cd98f00b204e9800998ecf8427e", (LPCTSTR)FileDigest(5, 256, "digest_empty.bin"));
    RemoveDirectoryA("digest_folder");
    std::remove("digest_empty.bin");
}

// The working text is emptied by every computation: a failure after a success is "".
TEST(HashCalculator, FailureAfterSuccessIsEmpty)
{
    CHashCalculator calc;
    calc.SetAlgorithm(5);
    calc.SetText("abc");
    EXPECT_STREQ("900150983cd24fb0d6963f7d28e17f72", (LPCTSTR)calc.Compute());
    calc.SetSource(2);
    calc.SetFileName("digest_no_such_file.bin");
    EXPECT_STREQ("", (LPCTSTR)calc.Compute());
    calc.SetSource(1);
    EXPECT_STREQ("900150983cd24fb0d6963f7d28e17f72", (LPCTSTR)calc.Compute());
}
