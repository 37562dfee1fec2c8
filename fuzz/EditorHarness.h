// The module's editor run headless on the demo project, as `vantrel edit --script` runs it, for
// the fuzzers of the editor's inputs.
#pragma once

#include <string>
#include <string_view>

// Loads the module before fuzzing starts, so that its coverage is seen from the first input.
void LoadEditor();
// Runs the editor on element with script; what it shows and writes is dropped.
void RunEditor(const std::string& element, const std::string& script);
// A file holding content, for the import to read: its path. Each call replaces the content.
const std::string& ImportFile(std::string_view content);
// The built-in demo element: four three-axis segments.
std::string DemoElement();
