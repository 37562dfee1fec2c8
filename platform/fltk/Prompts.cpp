#include "platform/fltk/Prompts.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Int_Input.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/Fl_Return_Button.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "base/Trim.h"
#include "platform/CWinApp.h"
#include "platform/fltk/DialogLayout.h"
#include "platform/fltk/ModalWindows.h"
#include "platform/fltk/ToolkitText.h"

namespace {
constexpr int kMargin = 12;
constexpr int kGap = 8;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 25;
constexpr int kIconSize = 32;
constexpr int kMaxTextWidth = 420;
constexpr int kCancelled = -1;

std::string AppTitle() {
    CWinApp* app = AfxGetApp();
    return app && !app->GetAppName().empty() ? app->GetAppName() : "Vantrel";
}

// A modal window whose buttons end it with their answer. Enter presses the focused button, or
// else the default one; Escape and the close box give the cancel answer. An answer the check
// refuses leaves the window open.
class PromptWindow : public Fl_Double_Window {
  public:
    using Check = std::function<bool(int answer)>;

    PromptWindow(int width, int height, const std::string& title, int cancelAnswer)
        : Fl_Double_Window(width, height), m_cancelAnswer(cancelAnswer) {
        copy_label(title.c_str());
        callback(OnClose);
    }

    Fl_Button* AddButton(int x, int y, const char* text, int answer, bool isDefault) {
        Fl_Button* button = isDefault ? new Fl_Return_Button(x, y, kButtonWidth, kButtonHeight)
                                      : new Fl_Button(x, y, kButtonWidth, kButtonHeight);
        button->copy_label(text);
        button->labelsize(DialogLayout::kFontSize);
        button->callback(OnButton, reinterpret_cast<void*>(static_cast<intptr_t>(answer)));
        if (isDefault) m_defaultAnswer = answer;
        return button;
    }

    // OK, the default, and Cancel in the bottom right corner.
    void AddOkCancelButtons() {
        int y = h() - kMargin - kButtonHeight;
        int okX = w() - kMargin - 2 * kButtonWidth - kGap;
        AddButton(okX, y, "OK", IDOK, true);
        AddButton(okX + kButtonWidth + kGap, y, "Cancel", IDCANCEL, false);
    }

    void CheckAnswersWith(Check check) { m_check = std::move(check); }

    int Run() {
        m_answer = m_cancelAnswer;
        // Over the window that asks, so that a prompt is seen beside a large editor.
        if (Fl_Window* owner = ModalWindows::Top(); owner != nullptr && owner->shown()) {
            position(owner->x_root() + (owner->w() - w()) / 2,
                     owner->y_root() + (owner->h() - h()) / 2);
        } else {
            position((Fl::w() - w()) / 2, (Fl::h() - h()) / 2);
        }
        ModalWindows::Scope modal(this, [this] { return HandleKey(); });
        set_modal();
        show();
        while (shown()) Fl::wait();
        return m_answer;
    }

    void Answer(int answer) {
        if (m_check && !m_check(answer)) return;
        m_answer = answer;
        hide();
    }

  private:
    bool HandleKey() {
        int key = Fl::event_key();
        if (key == FL_Escape) {
            Answer(m_cancelAnswer);
            return true;
        }
        if (key != FL_Enter && key != FL_KP_Enter) return false;
        auto* focused = dynamic_cast<Fl_Button*>(Fl::focus());
        if (focused != nullptr && contains(focused)) {
            focused->do_callback();
        } else {
            Answer(m_defaultAnswer);
        }
        return true;
    }

    static void OnButton(Fl_Widget* button, void* answer) {
        static_cast<PromptWindow*>(button->window())
            ->Answer(static_cast<int>(reinterpret_cast<intptr_t>(answer)));
    }
    static void OnClose(Fl_Widget* window, void*) {
        auto* prompt = static_cast<PromptWindow*>(window);
        prompt->Answer(prompt->m_cancelAnswer);
    }

    int m_cancelAnswer;
    int m_defaultAnswer = kCancelled;
    int m_answer = kCancelled;
    Check m_check;
};

const char* ButtonText(int id) {
    switch (id) {
        case IDOK:
            return "OK";
        case IDCANCEL:
            return "Cancel";
        case IDABORT:
            return "&Abort";
        case IDRETRY:
            return "&Retry";
        case IDIGNORE:
            return "&Ignore";
        case IDYES:
            return "&Yes";
        case IDNO:
            return "&No";
        default:
            return "?";
    }
}

struct Icon {
    const char* symbol;
    Fl_Color color;
};

// The icon of a message box type; a null symbol for none.
Icon IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONERROR:
            return {"X", FL_RED};
        case MB_ICONQUESTION:
            return {"?", FL_BLUE};
        case MB_ICONEXCLAMATION:
            return {"!", FL_YELLOW};
        case MB_ICONINFORMATION:
            return {"i", FL_BLUE};
        default:
            return {nullptr, FL_BLACK};
    }
}

// Escape answers Cancel, or the only button of a plain message; boxes without either (Yes and
// No, or Abort, Retry and Ignore) cannot be dismissed that way and answer their default.
int EscapeAnswer(const std::vector<int>& buttons, int defaultButton) {
    if (std::find(buttons.begin(), buttons.end(), IDCANCEL) != buttons.end()) return IDCANCEL;
    if (buttons.size() == 1) return buttons.front();
    return defaultButton;
}

void AddIcon(const Icon& icon) {
    auto* box = new Fl_Box(kMargin, kMargin, kIconSize, kIconSize, icon.symbol);
    box->box(FL_OVAL_BOX);
    box->color(icon.color);
    box->labelfont(FL_HELVETICA_BOLD);
    box->labelsize(20);
    box->labelcolor(icon.color == FL_YELLOW ? FL_BLACK : FL_WHITE);
}

// The size the text takes, wrapped at the widest a message box grows to.
void MeasureText(const std::string& label, int& width, int& height) {
    fl_font(FL_HELVETICA, DialogLayout::kFontSize);
    width = 0;
    height = 0;
    fl_measure(label.c_str(), width, height, 0);
    if (width <= kMaxTextWidth) return;
    width = kMaxTextWidth;
    fl_measure(label.c_str(), width, height, 0);
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool ParseWholeNumber(const char* text, long long& value) {
    std::string_view trimmed = Trim(text ? text : "", " ");
    if (trimmed.empty()) return false;
    const char* end = trimmed.data() + trimmed.size();
    auto [ptr, error] = std::from_chars(trimmed.data(), end, value);
    return error == std::errc() && ptr == end;
}
}  // namespace

int ShowMessageBox(const std::string& text, UINT type) {
    std::vector<int> buttons = AfxMessageBoxButtons(type);
    int defaultButton = AfxDefaultMessageBoxButton(type);
    Icon icon = IconOf(type);
    std::string label = LabelText(ToToolkitLineEnds(text), false);
    int textWidth = 0;
    int textHeight = 0;
    MeasureText(label, textWidth, textHeight);

    int textX = kMargin + (icon.symbol ? kIconSize + kMargin : 0);
    int buttonsWidth = static_cast<int>(buttons.size()) * (kButtonWidth + kGap) - kGap;
    int width = std::max(textX + textWidth, kMargin + buttonsWidth) + kMargin;
    int bodyHeight = std::max(textHeight, icon.symbol ? kIconSize : 0);
    int height = kMargin + bodyHeight + kMargin + kButtonHeight + kMargin;

    PromptWindow window(width, height, AppTitle(), EscapeAnswer(buttons, defaultButton));
    if (icon.symbol) AddIcon(icon);
    auto* message = new Fl_Box(textX, kMargin, textWidth, bodyHeight);
    message->copy_label(label.c_str());
    message->labelsize(DialogLayout::kFontSize);
    message->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
    int buttonX = (width - buttonsWidth) / 2;
    int buttonY = height - kMargin - kButtonHeight;
    Fl_Button* focused = nullptr;
    for (int id : buttons) {
        Fl_Button* button =
            window.AddButton(buttonX, buttonY, ButtonText(id), id, id == defaultButton);
        if (id == defaultButton) focused = button;
        buttonX += kButtonWidth + kGap;
    }
    window.end();
    // Only once the window is complete: the default button taking the focus earlier lost the
    // buttons added after it (a Yes/No box showed Yes alone).
    if (focused != nullptr) focused->take_focus();
    return window.Run();
}

std::optional<std::string> ShowFileChooser(const FileDialogRequest& request) {
    Fl_Native_File_Chooser chooser(request.open ? Fl_Native_File_Chooser::BROWSE_FILE
                                                : Fl_Native_File_Chooser::BROWSE_SAVE_FILE);
    chooser.title(request.open ? "Open" : "Save As");
    std::string filter = ToolkitFileFilter(request.filters);
    if (!filter.empty()) chooser.filter(filter.c_str());
    if (!request.fileName.empty()) chooser.preset_file(request.fileName.c_str());
    if (!request.open && (request.flags & OFN_OVERWRITEPROMPT) != 0)
        chooser.options(Fl_Native_File_Chooser::SAVEAS_CONFIRM);
    // The chooser starts in the working folder, where the files named on the command line are.
    std::error_code error;
    std::string folder = std::filesystem::current_path(error).string();
    if (!error) chooser.directory(folder.c_str());
    bool mustExist = request.open && (request.flags & OFN_FILEMUSTEXIST) != 0;
    while (true) {
        int result = 0;
        {
            // The chooser's window is the toolkit's own; the dialog below waits all the same.
            ModalWindows::Scope modal(nullptr);
            result = chooser.show();
        }
        if (result != 0 || chooser.filename() == nullptr) return std::nullopt;
        std::string chosen = chooser.filename();
        if (!mustExist || FileExists(chosen)) return chosen;
        ShowMessageBox(chosen + "\nFile not found.\nCheck the file name and try again.",
                       MB_OK | MB_ICONEXCLAMATION);
    }
}

int ShowItemChoice(const std::string& title, const std::vector<std::string>& items, int current) {
    if (items.empty()) return kCancelled;
    const int listWidth = 320;
    const int listHeight = 160;
    int width = kMargin + listWidth + kMargin;
    int height = kMargin + listHeight + kMargin + kButtonHeight + kMargin;
    PromptWindow window(width, height, title, kCancelled);
    auto* list = new Fl_Hold_Browser(kMargin, kMargin, listWidth, listHeight);
    list->textsize(DialogLayout::kFontSize);
    list->format_char(kNoFormatChar);
    for (const std::string& item : items) list->add(item.c_str());
    int selected = current >= 0 && current < static_cast<int>(items.size()) ? current : 0;
    list->value(selected + 1);
    window.AddOkCancelButtons();
    // A double click chooses the item at once.
    list->callback(
        [](Fl_Widget* widget, void*) {
            if (Fl::event_clicks() > 0) static_cast<PromptWindow*>(widget->window())->Answer(IDOK);
        },
        nullptr);
    window.end();
    if (window.Run() != IDOK || list->value() == 0) return kCancelled;
    return list->value() - 1;
}

bool ShowIntegerPrompt(const std::string& title, const std::string& prompt, int& value, int min,
                       int max) {
    const int inputWidth = 300;
    const int labelHeight = 20;
    int width = kMargin + inputWidth + kMargin;
    int height = kMargin + labelHeight + kButtonHeight + kMargin + kButtonHeight + kMargin;
    PromptWindow window(width, height, title, kCancelled);
    auto* label = new Fl_Box(kMargin, kMargin, inputWidth, labelHeight);
    label->copy_label(LabelText(prompt, false).c_str());
    label->labelsize(DialogLayout::kFontSize);
    label->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
    auto* input = new Fl_Int_Input(kMargin, kMargin + labelHeight, inputWidth, kButtonHeight);
    input->textsize(DialogLayout::kFontSize);
    input->value(std::to_string(value).c_str());
    window.AddOkCancelButtons();
    window.end();
    input->take_focus();
    input->position(input->size(), 0);
    long long entered = 0;
    window.CheckAnswersWith([&](int answer) {
        if (answer != IDOK) return true;
        if (ParseWholeNumber(input->value(), entered) && entered >= min && entered <= max)
            return true;
        ShowMessageBox(
            "Enter a whole number from " + std::to_string(min) + " to " + std::to_string(max) + ".",
            MB_OK | MB_ICONEXCLAMATION);
        input->take_focus();
        return false;
    });
    if (window.Run() != IDOK) return false;
    value = static_cast<int>(entered);
    return true;
}
