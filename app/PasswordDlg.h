// The password that guards printing and the choice of printer: only the MD5 digest of
// the typed text is ever kept or compared.
#pragma once

#include "fw/fw.h"

// The MD5 digest of the typed text, 32 lower-case hexadecimal digits.
CString ComputePasswordDigest(const CString& typed);

// Whether the digest of a typed password matches the stored one.  Stored digests come
// in either letter case, so the hex digits are compared without regard to case.  An
// empty typed digest (the dialog was cancelled) never matches.
BOOL PasswordDigestMatches(const CString& typedDigest, const CString& storedDigest);
