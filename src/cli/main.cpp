#include <iostream>

#include "cli/app.h"

int main(int argc, char** argv) { return vex::cli::Run(argc, argv, std::cout, std::cerr); }
