#include "platform/CFont.h"

#include <set>

struct HFONT__ {
    LOGFONT logFont;
};

namespace {
// Handles of the fonts alive, so that a stale handle is recognised instead of read.
std::set<HFONT>& LiveFonts() {
    static std::set<HFONT> fonts;
    return fonts;
}
}  // namespace

CFont::~CFont() { DeleteObject(); }

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
    if (lpLogFont == nullptr) return FALSE;
    DeleteObject();
    m_hFont = new HFONT__{*lpLogFont};
    // The face name is kept terminated whatever the caller passed.
    m_hFont->logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    LiveFonts().insert(m_hFont);
    return TRUE;
}

BOOL CFont::DeleteObject() {
    if (m_hFont == nullptr) return FALSE;
    LiveFonts().erase(m_hFont);
    delete m_hFont;
    m_hFont = nullptr;
    return TRUE;
}

BOOL CFont::GetLogFont(HFONT hFont, LOGFONT* lpLogFont) {
    if (hFont == nullptr || lpLogFont == nullptr || LiveFonts().count(hFont) == 0) return FALSE;
    *lpLogFont = hFont->logFont;
    return TRUE;
}
