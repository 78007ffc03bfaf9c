// Record-by-record writing and reading of a design file's "CakeData" stream.  The first
// failure sticks: later calls do nothing (writing) or give zeros (reading), and Result()
// reports it, so a section is written or read straight through and checked once.
#pragma once

#include <math.h>

#include "base/StreamCodec.h"

class CRecordWriter
{
public:
    explicit CRecordWriter(IStream* stream) : m_stream(stream), m_hr(S_OK) {}

    void I4(LONG v) { Do(WriteI4Record(m_stream, v)); }
    void R4(float v) { Do(WriteR4Record(m_stream, v)); }
    void R8(double v) { Do(WriteR8Record(m_stream, v)); }
    void Bool(BOOL v) { Do(WriteBoolRecord(m_stream, v)); }
    void Bstr(LPCTSTR text) { Do(WriteBstrRecord(m_stream, text)); }
    void Text(LPCTSTR text) { Do(WriteTextRecord(m_stream, text)); }
    void Key(LPCTSTR key, int value) { Do(WriteKeyLine(m_stream, key, value)); }
    // Takes another step's result into the sticky one.
    void Check(HRESULT hr)
    {
        if (SUCCEEDED(m_hr) && FAILED(hr))
            m_hr = hr;
    }
    bool Ok() const { return SUCCEEDED(m_hr); }
    HRESULT Result() const { return m_hr; }

private:
    void Do(HRESULT hr)
    {
        if (SUCCEEDED(m_hr))
            m_hr = hr;
    }
    IStream* m_stream;
    HRESULT m_hr;
};

class CRecordReader
{
public:
    explicit CRecordReader(IStream* stream) : m_stream(stream), m_hr(S_OK) {}

    LONG I4()
    {
        LONG v = 0;
        if (Ok())
            m_hr = ReadI4Record(m_stream, v);
        return Ok() ? v : 0;
    }
    // A value whose low 16 bits are taken, sign-extended (flags older writers stored so).
    int Low16() { return (int)(SHORT)(I4() & 0xFFFF); }
    // Floats must be finite: anything else is damage.
    float R4()
    {
        float v = 0;
        if (Ok())
            m_hr = ReadR4Record(m_stream, v);
        if (Ok() && !isfinite(v))
            m_hr = E_FAIL;
        return Ok() ? v : 0.0f;
    }
    double R8()
    {
        double v = 0;
        if (Ok())
            m_hr = ReadR8Record(m_stream, v);
        if (Ok() && !isfinite(v))
            m_hr = E_FAIL;
        return Ok() ? v : 0.0;
    }
    bool Bool()
    {
        BOOL v = FALSE;
        if (Ok())
            m_hr = ReadBoolRecord(m_stream, v);
        return Ok() && v;
    }
    CString Bstr()
    {
        CString text;
        if (Ok())
            m_hr = ReadBstrRecord(m_stream, text);
        return Ok() ? text : CString();
    }
    CString Text()
    {
        CString text;
        if (Ok())
            m_hr = ReadTextRecord(m_stream, text);
        return Ok() ? text : CString();
    }
    void Check(HRESULT hr)
    {
        if (SUCCEEDED(m_hr) && FAILED(hr))
            m_hr = hr;
    }
    bool Ok() const { return SUCCEEDED(m_hr); }
    HRESULT Result() const { return m_hr; }

private:
    IStream* m_stream;
    HRESULT m_hr;
};
