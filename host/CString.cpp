#include "host/CString.h"

#include <cstdio>
#include <utility>

#include "platform/StringTable.h"

CString::CString(const char* text) : m_text(text ? text : "") {}

CString::CString(const char* text, int length) {
    if (text && length > 0) m_text.assign(text, static_cast<size_t>(length));
}

CString::CString(std::string text) : m_text(std::move(text)) {}

CString::CString(std::string_view text) : m_text(text) {}

CString& CString::operator=(const char* text) {
    m_text = text ? text : "";
    return *this;
}

CString& CString::operator+=(const CString& text) {
    m_text += text.m_text;
    return *this;
}

CString& CString::operator+=(const char* text) {
    if (text) m_text += text;
    return *this;
}

CString& CString::operator+=(char c) {
    m_text += c;
    return *this;
}

void CString::Append(const char* text, int length) {
    if (text && length > 0) m_text.append(text, static_cast<size_t>(length));
}

void CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
}

void CString::FormatV(const char* format, va_list args) {
    m_text.clear();
    AppendFormatV(format, args);
}

void CString::AppendFormatV(const char* format, va_list args) {
    if (!format) return;
    // Most texts fit a small buffer: one formatting pass instead of a measuring pass first.
    char small[512];
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(small, sizeof small, format, args);
    if (length <= 0) {
        va_end(again);
        return;
    }
    if (static_cast<size_t>(length) < sizeof small) {
        m_text.append(small, static_cast<size_t>(length));
        va_end(again);
        return;
    }
    const size_t start = m_text.size();
    m_text.resize(start + static_cast<size_t>(length) + 1);
    std::vsnprintf(m_text.data() + start, static_cast<size_t>(length) + 1, format, again);
    va_end(again);
    m_text.resize(start + static_cast<size_t>(length));
}

BOOL CString::LoadString(UINT id) { return AfxLoadString(id, m_text) ? TRUE : FALSE; }

int CString::Compare(const char* other) const { return m_text.compare(other ? other : ""); }

CString operator+(const CString& a, const CString& b) { return CString(a.m_text + b.m_text); }

CString operator+(const CString& a, const char* b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const char* a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}
