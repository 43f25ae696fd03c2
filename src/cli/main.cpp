#include <iostream>
#include <vector>

#include "cli/app.h"
#include "cli/console.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args = vex::cli::StartConsole(argc, argv);
    std::vector<const char*> pointers;
    for (const auto& a : args) pointers.push_back(a.c_str());
    pointers.push_back(nullptr);
    return vex::cli::Run(static_cast<int>(args.size()), pointers.data(), std::cout, std::cerr);
}
