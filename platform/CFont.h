// A font object: owns the font it creates and deletes it when destroyed.
#pragma once

#include "platform/CObject.h"
#include "platform/WinDefs.h"

class CFont : public CObject {
  public:
    CFont() = default;
    ~CFont() override;
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // Creates the font that lpLogFont describes, replacing one created before.
    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
    // Deletes the font; FALSE when there was none.
    BOOL DeleteObject();
    HFONT GetSafeHandle() const { return m_hFont; }
    operator HFONT() const { return m_hFont; }  // NOLINT: used where a handle is expected

    // The description of a live font handle; FALSE for null or a deleted font.
    static BOOL GetLogFont(HFONT hFont, LOGFONT* lpLogFont);

  private:
    HFONT m_hFont = nullptr;
};
