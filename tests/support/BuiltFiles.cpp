#include "tests/support/BuiltFiles.h"

std::string BuiltProgramPath() { return VANTREL_PROGRAM; }
std::string BuiltModulePath() { return VANTREL_MODULE; }
std::string BuiltHostLibraryPath() { return VANTREL_HOST_LIBRARY; }
std::string SourcePath(const std::string& relative) {
    return std::string(VANTREL_SOURCE_DIR) + "/" + relative;
}
