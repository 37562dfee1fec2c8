#include <csignal>

#include "app/cli/Cli.h"

int main(int argc, char** argv) {
    // A reader that closes the pipe must make the write fail with a message, not end the
    // program silently in the middle of saving an edit.
    std::signal(SIGPIPE, SIG_IGN);
    return static_cast<int>(RunVantrel(argc, argv));
}
