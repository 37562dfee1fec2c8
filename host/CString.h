// The host's 8-bit character string.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

#include "platform/AfxTypes.h"

class CString {
  public:
    CString() = default;
    CString(const char* text);  // NOLINT: implicit like the host's string
    CString(const char* text, int length);
    CString(std::string text);       // NOLINT
    CString(std::string_view text);  // NOLINT

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    const char* GetString() const { return m_text.c_str(); }
    operator const char*() const { return m_text.c_str(); }  // NOLINT
    char GetAt(int index) const { return m_text[static_cast<size_t>(index)]; }

    CString& operator=(const char* text);
    CString& operator+=(const CString& text);
    CString& operator+=(const char* text);
    CString& operator+=(char c);
    void Append(const char* text, int length);

    // Replaces the content with printf-style formatted text.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Appends printf-style formatted text.
    void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* format, va_list args);
    void AppendFormatV(const char* format, va_list args);

    // Loads the host's string resource id; FALSE (and empty) when it does not exist.
    BOOL LoadString(UINT id);

    int Compare(const char* other) const;
    const std::string& str() const { return m_text; }
    std::string& str() { return m_text; }

    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char* b) { return a.m_text == (b ? b : ""); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char* b);
    friend CString operator+(const char* a, const CString& b);

  private:
    std::string m_text;
};
