#include "app/cli/commands.h"

int main(int argc, char** argv) { return meridan::RunCommandLine(argc, argv); }
