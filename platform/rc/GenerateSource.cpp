// C++ source for the dialog templates of a resource script.
#include <cstdio>
#include <sstream>

#include "platform/rc/ResourceScript.h"

namespace {
// A C++ string literal; other bytes than printable ASCII are written as three-digit octal
// escapes, which never run into the following character.
std::string Literal(const std::string& text) {
    std::string literal = "\"";
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            literal += '\\';
            literal += c;
        } else if (byte >= 0x20 && byte < 0x7F && c != '?') {
            literal += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\%03o", byte);
            literal += escaped;
        }
    }
    return literal + "\"";
}

std::string StringExpression(const std::string& text) {
    return "std::string(" + Literal(text) + ", " + std::to_string(text.size()) + ")";
}

std::string Hex(unsigned long value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lXu", value);
    return text;
}

void WriteControl(std::ostream& out, const DialogControlTemplate& c) {
    out << "        {" << c.id << ", " << Literal(c.symbol) << ", " << Literal(c.className) << ", "
        << Literal(c.text) << ", " << Hex(c.style) << ", " << Hex(c.exStyle) << ", "
        << Hex(c.helpId) << ", " << c.x << ", " << c.y << ", " << c.cx << ", " << c.cy << "},\n";
}

void WriteDialog(std::ostream& out, const DialogTemplate& d) {
    out << "DialogTemplate MakeDialog" << d.id << "() {\n"
        << "    DialogTemplate t;\n"
        << "    t.id = " << d.id << ";\n"
        << "    t.symbol = " << Literal(d.symbol) << ";\n"
        << "    t.language = " << d.language << ";\n"
        << "    t.style = " << Hex(d.style) << ";\n"
        << "    t.exStyle = " << Hex(d.exStyle) << ";\n"
        << "    t.helpId = " << Hex(d.helpId) << ";\n"
        << "    t.x = " << d.x << ";\n    t.y = " << d.y << ";\n"
        << "    t.cx = " << d.cx << ";\n    t.cy = " << d.cy << ";\n"
        << "    t.caption = " << Literal(d.caption) << ";\n"
        << "    t.fontFace = " << Literal(d.fontFace) << ";\n"
        << "    t.fontPointSize = " << d.fontPointSize << ";\n"
        << "    t.fontWeight = " << d.fontWeight << ";\n"
        << "    t.fontItalic = " << d.fontItalic << ";\n"
        << "    t.fontCharSet = " << d.fontCharSet << ";\n";
    out << "    t.controls = {\n";
    for (const DialogControlTemplate& control : d.controls) WriteControl(out, control);
    out << "    };\n    t.initItems = {\n";
    for (const DialogInitItem& item : d.initItems) {
        out << "        {" << item.controlId << ", " << item.message << "u, "
            << StringExpression(item.data) << "},\n";
    }
    out << "    };\n    t.symbols = {\n";
    for (const ResourceSymbol& symbol : d.symbols) {
        out << "        {" << Literal(symbol.name) << ", " << symbol.value << "},\n";
    }
    out << "    };\n    return t;\n}\n\n";
}
}  // namespace

std::string ResourceScript::GenerateSource(const std::string& scriptName) const {
    std::ostringstream out;
    out << "// Generated from " << scriptName
        << " by vantrel_rc_compile; edit the script instead.\n"
        << "#include <string>\n\n#include \"platform/DialogTemplate.h\"\n\nnamespace {\n\n";
    for (const DialogTemplate& dialog : m_dialogs) WriteDialog(out, dialog);
    out << "// The templates are registered when the library holding them is loaded.\n"
        << "[[maybe_unused]] const bool registered = [] {\n";
    for (const DialogTemplate& dialog : m_dialogs) {
        out << "    AfxRegisterDialogTemplate(MakeDialog" << dialog.id << "());\n";
    }
    out << "    return true;\n}();\n\n}  // namespace\n";
    return out.str();
}
