#include "platform/CFileDialog.h"

#include <filesystem>

namespace {
std::vector<std::string> SplitAtBars(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', start)) {
        parts.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

// The filter string ends at its first empty part ("||"); an unpaired description is dropped.
std::vector<std::pair<std::string, std::string>> ParseFilter(const char* filter) {
    std::vector<std::pair<std::string, std::string>> filters;
    if (filter == nullptr) return filters;
    std::vector<std::string> parts = SplitAtBars(filter);
    for (size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2) {
        if (parts[i + 1].empty()) break;
        filters.emplace_back(parts[i], parts[i + 1]);
    }
    return filters;
}
}  // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt, const char* lpszFileName,
                         DWORD dwFlags, const char* lpszFilter, CWnd* pParentWnd, DWORD /*dwSize*/,
                         BOOL /*bVistaStyle*/) {
    m_request.open = bOpenFileDialog != FALSE;
    m_request.defaultExtension = lpszDefExt ? lpszDefExt : "";
    m_request.fileName = lpszFileName ? lpszFileName : "";
    m_request.flags = dwFlags;
    m_request.filters = ParseFilter(lpszFilter);
    m_request.owner = pParentWnd;
}

INT_PTR CFileDialog::DoModal() {
    m_strPathName.clear();
    Backend* backend = GetActiveBackend();
    std::optional<std::string> path =
        backend ? backend->ChooseFile(m_request) : std::optional<std::string>();
    if (!path || path->empty()) return IDCANCEL;
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(*path, error);
    m_strPathName = error ? *path : absolute.lexically_normal().string();
    return IDOK;
}
