// Dialog templates: the layout of a dialog and its controls as a resource script defines it,
// registered by id when the module holding them is loaded.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/AfxTypes.h"

struct DialogControlTemplate {
    int id = 0;
    std::string symbol;  // the id's name in the resource script; empty for IDC_STATIC or a number
    std::string className;  // BUTTON, STATIC, EDIT, COMBOBOX or LISTBOX
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    DWORD helpId = 0;
    int x = 0;  // position and size in dialog units
    int y = 0;
    int cx = 0;
    int cy = 0;
};

// One entry of the dialog-init data: a message (in dialog-init numbering) sent to a control.
struct DialogInitItem {
    int controlId = 0;
    UINT message = 0;
    std::string data;
};

struct ResourceSymbol {
    std::string name;
    int value = 0;
};

struct DialogTemplate {
    UINT id = 0;
    std::string symbol;
    UINT language = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    DWORD helpId = 0;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    std::string caption;
    std::string fontFace;
    int fontPointSize = 0;
    int fontWeight = 0;
    int fontItalic = 0;
    int fontCharSet = 0;
    std::vector<DialogControlTemplate> controls;  // in template order, which is the tab order
    std::vector<DialogInitItem> initItems;
    std::vector<ResourceSymbol> symbols;  // every symbol of the resource header
};

// The add-string messages as dialog-init data numbers them.
inline constexpr UINT DLGINIT_LB_ADDSTRING = 0x0401;
inline constexpr UINT DLGINIT_CB_ADDSTRING = 0x0403;

// Registers tmpl under its id, replacing an earlier template of that id.
void AfxRegisterDialogTemplate(DialogTemplate tmpl);
// The template registered under id, or null.
std::shared_ptr<const DialogTemplate> AfxFindDialogTemplate(UINT id);
