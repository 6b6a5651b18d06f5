#include "check/CheckCommand.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return trv::RunCheckCommand(args, std::cout, std::cerr);
}
