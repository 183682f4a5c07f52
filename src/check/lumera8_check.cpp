// lumera8-check: reports what a puzzle maker should fix in Lumera 8.0 puzzle files, and
// shows one puzzle as the board lays it out.
#include <iostream>
#include <string>
#include <vector>

#include "check/check_report.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return lumera::check::RunCheck(args, std::cout, std::cerr);
}
