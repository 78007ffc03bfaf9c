// The two records every value of a compound-file stream is made of, one after the other
// with nothing between them:
//  - BSTR record: 4-byte byte count N (text bytes + the 2-byte terminator; 0 = null text),
//    then N bytes of UTF-16LE text ending in a 2-byte zero;
//  - VARIANT record: 2-byte VARTYPE, then the value (1, 2, 4 or 8 bytes for the fixed-size
//    types, else the value converted to text as one BSTR record).
// All integers little-endian.  Readers clear their value first and leave it cleared on
// any failure.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <oleauto.h>

#include "fw/fw.h"

// Longest text a BSTR record may hold when read (bytes, terminator included); anything
// longer in a file is taken as damage, not as a text to allocate.
const ULONG kMaxBstrRecordBytes = 16u * 1024u * 1024u;

// BSTR records.  The narrow forms convert with the system ANSI code page.
HRESULT WriteBstrRecord(IStream* stream, LPCTSTR text);
HRESULT WriteBstrRecordW(IStream* stream, BSTR text); // NULL writes the null record
HRESULT ReadBstrRecord(IStream* stream, CString& text);
HRESULT ReadBstrRecordW(IStream* stream, BSTR* text); // *text NULL for the null record

// VARIANT records.  VT_DISPATCH / VT_UNKNOWN (and by-reference or array values) are never
// stored by this program and are refused both ways: reading one would let a file name any
// COM class to instantiate.
HRESULT WriteVariantRecord(IStream* stream, const VARIANT& value);
HRESULT ReadVariantRecord(IStream* stream, VARIANT& value);

// The five types the program writes.
HRESULT WriteI4Record(IStream* stream, LONG value);
HRESULT WriteR4Record(IStream* stream, float value);
HRESULT WriteR8Record(IStream* stream, double value);
HRESULT WriteBoolRecord(IStream* stream, BOOL value);   // true = 0xFFFF
HRESULT WriteTextRecord(IStream* stream, LPCTSTR text); // VT_BSTR VARIANT record

// Readers take the value as the type the writer used at that place, whatever the record's
// VARTYPE says (the bytes of a 4-byte record read as a float are that float).  On failure
// the value is 0 / empty.
HRESULT ReadI4Record(IStream* stream, LONG& value);
HRESULT ReadR4Record(IStream* stream, float& value);
HRESULT ReadR8Record(IStream* stream, double& value);
HRESULT ReadBoolRecord(IStream* stream, BOOL& value);   // any non-zero is TRUE
HRESULT ReadTextRecord(IStream* stream, CString& text); // VARIANT record as text

// A key line: the BSTR record of "%s=%d".
HRESULT WriteKeyLine(IStream* stream, LPCTSTR key, int number);
