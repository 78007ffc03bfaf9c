#include "app/PasswordDlg.h"

#include "digest/hash_calculator.h"

CString ComputePasswordDigest(const CString& typed)
{
    CHashCalculator calculator;
    calculator.SetAlgorithm(CHashCalculator::AlgMD5);
    calculator.SetSource(CHashCalculator::SourceText);
    calculator.SetText(typed);
    calculator.SetOutputFormat(CHashCalculator::LowerHex);
    return calculator.Compute();
}

BOOL PasswordDigestMatches(const CString& typedDigest, const CString& storedDigest)
{
    if (typedDigest.IsEmpty())
        return FALSE;
    return typedDigest.CompareNoCase(storedDigest) == 0;
}
