// Resource scripts in the usual resource-script syntax: the dialog templates (DIALOG, DIALOGEX) and
// their dialog-init data (DLGINIT), with the symbols of the headers they include.
//
// Supported: #include "file" (its #define lines give symbols; <system> headers are ignored, the
// framework's constants are built in), #define, #undef, #ifdef, #ifndef, #else, #endif,
// #pragma, // and /* */ comments, LANGUAGE, and in dialogs STYLE, EXSTYLE, CAPTION, FONT,
// LANGUAGE and the controls LTEXT, RTEXT, CTEXT, PUSHBUTTON, DEFPUSHBUTTON, GROUPBOX, CHECKBOX,
// AUTOCHECKBOX, RADIOBUTTON, AUTORADIOBUTTON, EDITTEXT, COMBOBOX, LISTBOX and CONTROL (of the
// classes BUTTON, STATIC, EDIT, COMBOBOX and LISTBOX). Each control statement adds its implied
// styles and WS_CHILD | WS_VISIBLE; NOT removes styles. Anything else is refused with
// "file:line: problem".
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/DialogTemplate.h"

class ResourceScript {
  public:
    // Reads the file at path into text; false when it cannot be read.
    using FileReader = std::function<bool(const std::string& path, std::string& text)>;

    // Parses text, named fileName in messages; included files are read with reader, relative
    // to the folder of fileName. Throws std::runtime_error on any problem.
    static ResourceScript Parse(const std::string& text, const std::string& fileName,
                                const FileReader& reader);
    // Reads and parses the file at path.
    static ResourceScript Load(const std::string& path);

    const std::vector<DialogTemplate>& Dialogs() const { return m_dialogs; }
    // Every symbol with an integer value, in order of definition.
    const std::vector<ResourceSymbol>& Symbols() const { return m_symbols; }
    const DialogTemplate* FindDialog(UINT id) const;

    // C++ source that registers every dialog template when its library is loaded.
    std::string GenerateSource(const std::string& scriptName) const;

  private:
    friend class ResourceParser;

    std::vector<DialogTemplate> m_dialogs;
    std::vector<ResourceSymbol> m_symbols;
};
