#include "app/cli/Cli.h"

int main(int argc, char** argv) { return static_cast<int>(RunVantrel(argc, argv)); }
