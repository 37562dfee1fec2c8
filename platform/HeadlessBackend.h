// A back end without a screen: a script plays the user, and `dump` prints the dialog's state
// as one line of JSON.
//
// Script: one command a line; blank lines and lines starting with '#' are skipped, and in
// every command but `type` and `file` a word starting with '#' begins a comment. Controls are
// named by id or symbol (IDC_..., IDOK, IDCANCEL).
//   click CONTROL        select CONTROL INDEX     type CONTROL TEXT (the rest of the line,
//                        select CONTROL TEXT      without trailing blanks)
//   focus CONTROL        enter                    command ID
//   file PATH | file cancel     the answer to the next open-file dialog (PATH: rest of line)
//   event N | event cancel      the answer to the next prompt: the index of the item to
//                               choose, or the integer to enter
//   ok   cancel   dump
// Answers are queued in order; a file dialog or prompt without an answer left is cancelled,
// and answers nobody asked for are ignored. A file answer is handed on as it stands: a file
// that cannot be opened is reported by whoever opens it.
//
// A line that cannot be carried out stops the script: the dialog ends with -1 and Error()
// tells which line and why. After the dialog ended only `dump` lines still run; a script that
// ends with the dialog open cancels it. Message boxes are answered with their default button
// and listed by the next dump; each is also written to the message stream as it is shown, as
// one line prefixed by its icon: "error: ", "warning: ", "info: " or "message: ".
//
// `select` takes an index when its argument is a whole number, else the text of an item (the
// rest of the line up to a comment).
#pragma once

#include <deque>
#include <iostream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Backend.h"

class CDialog;
class CWnd;

class HeadlessBackend : public Backend {
  public:
    // Dumps go to out, the lines of the message boxes to messages.
    HeadlessBackend(std::string script, std::string scriptName, std::ostream& out,
                    std::ostream& messages = std::cerr);

    INT_PTR RunModal(CDialog& dialog) override;
    int MessageBox(const std::string& text, UINT type) override;
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
    int ChooseItem(const std::string& title, const std::vector<std::string>& items,
                   int current) override;
    bool AskInteger(const std::string& title, const std::string& prompt, int& value, int min,
                    int max) override;

    // "<script>:<line>: <problem>" for the line that stopped the script; empty when none did.
    const std::string& Error() const { return m_error; }

  private:
    struct Answer {
        int line = 0;
        bool cancel = false;
        long long value = 0;
        std::string path;
    };
    struct Message {
        std::string text;
        const char* icon;
    };

    void RunLines(CDialog& dialog);
    void RunDumpsOnly(CDialog& dialog);
    void RunLine(CDialog& dialog, const std::string& line);
    [[nodiscard]] std::string Execute(CDialog& dialog, const std::string& command,
                                      const std::string& rest);
    [[nodiscard]] std::string ExecuteSelect(CDialog& dialog, const std::string& rest);
    [[nodiscard]] std::string ExecuteOnControl(CDialog& dialog, const std::string& command,
                                               const std::vector<std::string>& args);
    [[nodiscard]] std::string QueueAnswer(std::deque<Answer>& queue, const std::string& rest,
                                          bool isPath);
    // The next answer of queue; none when the queue is empty or the answer is cancel.
    static std::optional<Answer> TakeAnswer(std::deque<Answer>& queue);
    CWnd* FindControl(CDialog& dialog, const std::string& name, std::string& problem);
    bool ResolveId(CDialog& dialog, const std::string& name, int& id);
    void Dump(CDialog& dialog);
    void Fail(int line, const std::string& problem);

    std::vector<std::string> m_lines;
    size_t m_next = 0;
    int m_line = 0;
    int m_depth = 0;
    std::string m_name;
    std::ostream& m_out;
    std::ostream& m_messageLines;
    std::string m_error;
    std::deque<Answer> m_fileAnswers;
    std::deque<Answer> m_promptAnswers;
    std::vector<Message> m_messages;
};
