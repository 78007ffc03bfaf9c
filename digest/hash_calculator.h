// CRC-32 or a message digest of a text or a file, as hexadecimal text.
#pragma once
#include "fw/fw.h"

class CHashCalculator
{
public:
    enum Algorithm { AlgCrc32 = 1, AlgGost = 2, AlgMD2 = 3, AlgMD4 = 4, AlgMD5 = 5, AlgSHA1 = 6, AlgSHA2 = 7 };
    enum Source { SourceText = 1, SourceFile = 2 };
    enum Format { LowerHex = 1, LowerHexBlanks = 2, UpperHex = 3, UpperHexBlanks = 4 };

    CHashCalculator();

    void SetAlgorithm(int algorithm); // stored unchecked; unknown numbers compute ""
    void SetOutputFormat(int format); // 1..4, anything else 1
    void SetSource(int source);       // 1 or 2, anything else 1
    void SetFileName(const CString& path);
    void SetShaLength(int bits);       // 256, 384 or 512, anything else 256
    void SetText(const CString& text); // hashed as its 8-bit bytes, no terminator

    int GetAlgorithm() const { return m_algorithm; }
    int GetSource() const { return m_source; }
    int GetOutputFormat() const { return m_outputFormat; }
    int GetShaLength() const { return m_shaLength; }
    CString GetText() const { return m_text; }
    CString GetFileName() const { return m_fileName; }

    // The digest of the current source in the current format; "" when the algorithm is
    // unknown or the file cannot be read.
    CString Compute();

    // Lower-case hex of one algorithm over the current source ("" on failure).
    CString ComputeGost();
    CString ComputeMD2();
    CString ComputeMD4();
    CString ComputeMD5();
    CString ComputeSHA1();
    CString ComputeSHA2();

private:
    // Hands the source's bytes to `update` in blocks; false when the file cannot be read.
    template <class Update> bool FeedSource(Update update) const;
    bool NoFileNamed() const { return m_source == SourceFile && m_fileName.IsEmpty(); }

    CString m_text;
    int m_algorithm;
    CString m_fileName;
    int m_outputFormat;
    int m_source;
    int m_shaLength;
    CString m_result;
};
