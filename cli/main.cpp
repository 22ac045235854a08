#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "platform/MemoryTuning.h"

int main(int argc, char* argv[]) {
    KeepFreedMemoryForReuse();
    const std::vector<std::string> args(argv + 1, argv + argc);
    return RunQuavernCli(args, std::cout, std::cerr);
}
