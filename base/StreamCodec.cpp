#include "base/StreamCodec.h"

#include <string.h>
#include <new>

namespace {

// A short read is a failure: the stream ended inside a record.
HRESULT ReadExact(IStream* stream, void* buffer, ULONG size)
{
    if (size == 0)
        return S_OK;
    ULONG got = 0;
    HRESULT hr = stream->Read(buffer, size, &got);
    if (FAILED(hr))
        return hr;
    return got == size ? S_OK : E_FAIL;
}

HRESULT WriteExact(IStream* stream, const void* buffer, ULONG size)
{
    if (size == 0)
        return S_OK;
    ULONG put = 0;
    HRESULT hr = stream->Write(buffer, size, &put);
    if (FAILED(hr))
        return hr;
    return put == size ? S_OK : STG_E_MEDIUMFULL;
}

// Bytes between the read position and the end, or ULONG max when the stream cannot say.
ULONGLONG BytesLeft(IStream* stream)
{
    STATSTG stat = {};
    LARGE_INTEGER zero = {};
    ULARGE_INTEGER pos = {};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(stream->Seek(zero, STREAM_SEEK_CUR, &pos)))
        return ~0ull;
    return stat.cbSize.QuadPart > pos.QuadPart ? stat.cbSize.QuadPart - pos.QuadPart : 0;
}

// Size of the value bytes of a fixed-size VARTYPE, 0 for the types stored as text.
ULONG FixedSize(VARTYPE vt)
{
    switch (vt) {
    case VT_I1:
    case VT_UI1:
        return 1;
    case VT_I2:
    case VT_BOOL:
    case VT_UI2:
        return 2;
    case VT_I4:
    case VT_R4:
    case VT_ERROR:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
        return 4;
    case VT_R8:
    case VT_CY:
    case VT_DATE:
        return 8;
    default:
        return 0;
    }
}

// Types a record may not hold: objects (reading one would create whatever class a file
// names) and anything by reference or in an array.
bool IsRefusedType(VARTYPE vt)
{
    return vt == VT_DISPATCH || vt == VT_UNKNOWN || (vt & (VT_BYREF | VT_ARRAY | VT_VECTOR)) != 0;
}

} // namespace

HRESULT WriteBstrRecordW(IStream* stream, BSTR text)
{
    if (stream == nullptr)
        return E_POINTER;
    DWORD size = text == nullptr ? 0 : SysStringByteLen(text) + sizeof(WCHAR);
    HRESULT hr = WriteExact(stream, &size, sizeof size);
    if (FAILED(hr) || size == 0)
        return hr;
    return WriteExact(stream, text, size); // the BSTR's own terminator ends the record
}

HRESULT WriteBstrRecord(IStream* stream, LPCTSTR text)
{
    BSTR wide = CStringW(text).AllocSysString(); // null text: the empty one
    if (wide == nullptr)
        return E_OUTOFMEMORY;
    HRESULT hr = WriteBstrRecordW(stream, wide);
    SysFreeString(wide);
    return hr;
}

HRESULT ReadBstrRecordW(IStream* stream, BSTR* text)
{
    if (text == nullptr)
        return E_POINTER;
    *text = nullptr;
    if (stream == nullptr)
        return E_POINTER;
    DWORD size = 0;
    HRESULT hr = ReadExact(stream, &size, sizeof size);
    if (FAILED(hr))
        return hr;
    if (size == 0)
        return S_OK; // the null text
    // The count comes from the file: it must describe whole UTF-16 units with a
    // terminator, fit in what is left of the stream and stay under the cap.
    if (size < sizeof(WCHAR) || (size & 1) != 0 || size > kMaxBstrRecordBytes || size > BytesLeft(stream))
        return E_FAIL;
    BSTR buffer = SysAllocStringByteLen(nullptr, size - sizeof(WCHAR));
    if (buffer == nullptr)
        return E_OUTOFMEMORY;
    hr = ReadExact(stream, buffer, size);
    if (SUCCEEDED(hr) && buffer[size / sizeof(WCHAR) - 1] != 0)
        hr = E_FAIL;
    if (FAILED(hr)) {
        SysFreeString(buffer);
        return hr;
    }
    *text = buffer;
    return S_OK;
}

HRESULT ReadBstrRecord(IStream* stream, CString& text)
{
    text.Empty();
    BSTR wide = nullptr;
    HRESULT hr = ReadBstrRecordW(stream, &wide);
    if (SUCCEEDED(hr) && wide != nullptr)
        text = (LPCWSTR)wide; // up to an embedded zero, as a C text would
    SysFreeString(wide);
    return hr;
}

HRESULT WriteVariantRecord(IStream* stream, const VARIANT& value)
{
    if (stream == nullptr)
        return E_POINTER;
    VARTYPE vt = value.vt;
    if (IsRefusedType(vt))
        return DISP_E_BADVARTYPE;
    HRESULT hr = WriteExact(stream, &vt, sizeof vt);
    if (FAILED(hr))
        return hr;
    if (ULONG size = FixedSize(vt))
        return WriteExact(stream, &value.bVal, size); // the union's first bytes
    if (vt == VT_BSTR)
        return WriteBstrRecordW(stream, value.bstrVal);
    VARIANT text;
    VariantInit(&text);
    hr = VariantChangeType(&text, const_cast<VARIANT*>(&value), VARIANT_NOVALUEPROP, VT_BSTR);
    if (SUCCEEDED(hr))
        hr = WriteBstrRecordW(stream, text.bstrVal);
    VariantClear(&text);
    return hr;
}

HRESULT ReadVariantRecord(IStream* stream, VARIANT& value)
{
    VariantClear(&value);
    if (stream == nullptr)
        return E_POINTER;
    VARTYPE vt = VT_EMPTY;
    HRESULT hr = ReadExact(stream, &vt, sizeof vt);
    if (FAILED(hr))
        return hr;
    if (IsRefusedType(vt))
        return E_FAIL;
    if (ULONG size = FixedSize(vt)) {
        VARIANT read;
        VariantInit(&read);
        hr = ReadExact(stream, &read.bVal, size);
        if (FAILED(hr))
            return hr;
        read.vt = vt;
        value = read;
        return S_OK;
    }
    BSTR text = nullptr;
    hr = ReadBstrRecordW(stream, &text);
    if (FAILED(hr))
        return hr;
    VARIANT read;
    VariantInit(&read);
    read.vt = VT_BSTR;
    read.bstrVal = text;
    if (vt != VT_BSTR) {
        hr = VariantChangeType(&read, &read, VARIANT_NOVALUEPROP, vt);
        if (FAILED(hr)) {
            VariantClear(&read);
            return hr;
        }
    }
    value = read;
    return S_OK;
}

HRESULT WriteI4Record(IStream* stream, LONG value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return WriteVariantRecord(stream, v);
}

HRESULT WriteR4Record(IStream* stream, float value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_R4;
    v.fltVal = value;
    return WriteVariantRecord(stream, v);
}

HRESULT WriteR8Record(IStream* stream, double value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_R8;
    v.dblVal = value;
    return WriteVariantRecord(stream, v);
}

HRESULT WriteBoolRecord(IStream* stream, BOOL value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return WriteVariantRecord(stream, v);
}

HRESULT WriteTextRecord(IStream* stream, LPCTSTR text)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = CStringW(text).AllocSysString();
    if (v.bstrVal == nullptr)
        return E_OUTOFMEMORY;
    HRESULT hr = WriteVariantRecord(stream, v);
    VariantClear(&v);
    return hr;
}

namespace {

// Reads a record and gives its value as `want`: fixed-size records keep their bytes
// whatever their own type; records stored as text are converted.
HRESULT ReadAs(IStream* stream, VARTYPE want, VARIANT& out)
{
    VariantInit(&out);
    HRESULT hr = ReadVariantRecord(stream, out);
    if (FAILED(hr))
        return hr;
    if (FixedSize(out.vt) != 0) {
        // Only the bytes the record held count; the rest of the union is zero.
        VARIANT bytes;
        VariantInit(&bytes);
        memset(&bytes.bVal, 0, sizeof bytes.dblVal);
        memcpy(&bytes.bVal, &out.bVal, FixedSize(out.vt));
        bytes.vt = want;
        out = bytes;
        return S_OK;
    }
    hr = VariantChangeType(&out, &out, VARIANT_NOVALUEPROP, want);
    if (FAILED(hr))
        VariantClear(&out);
    return hr;
}

} // namespace

HRESULT ReadI4Record(IStream* stream, LONG& value)
{
    VARIANT v;
    HRESULT hr = ReadAs(stream, VT_I4, v);
    value = SUCCEEDED(hr) ? v.lVal : 0;
    return hr;
}

HRESULT ReadR4Record(IStream* stream, float& value)
{
    VARIANT v;
    HRESULT hr = ReadAs(stream, VT_R4, v);
    value = SUCCEEDED(hr) ? v.fltVal : 0.0f;
    return hr;
}

HRESULT ReadR8Record(IStream* stream, double& value)
{
    VARIANT v;
    HRESULT hr = ReadAs(stream, VT_R8, v);
    value = SUCCEEDED(hr) ? v.dblVal : 0.0;
    return hr;
}

HRESULT ReadBoolRecord(IStream* stream, BOOL& value)
{
    VARIANT v;
    HRESULT hr = ReadAs(stream, VT_BOOL, v);
    value = SUCCEEDED(hr) && v.boolVal != 0;
    return hr;
}

HRESULT ReadTextRecord(IStream* stream, CString& text)
{
    text.Empty();
    VARIANT v;
    VariantInit(&v);
    HRESULT hr = ReadVariantRecord(stream, v);
    if (FAILED(hr))
        return hr;
    if (v.vt != VT_BSTR)
        hr = VariantChangeType(&v, &v, VARIANT_NOVALUEPROP, VT_BSTR);
    if (SUCCEEDED(hr) && v.bstrVal != nullptr)
        text = (LPCWSTR)v.bstrVal; // up to an embedded zero, as a C text would
    VariantClear(&v);
    return hr;
}

HRESULT WriteKeyLine(IStream* stream, LPCTSTR key, int number)
{
    CString line;
    line.Format("%s=%d", key, number);
    return WriteBstrRecord(stream, line);
}
