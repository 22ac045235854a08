// Writes the manual page quavern-cli(1): the page as configured, with its
// option list taken from the option table the program parses with.
//
//     quavern_cli_manual PAGE.in PAGE
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "cli/CommandLine.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "usage: quavern_cli_manual PAGE.in PAGE\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::ostringstream page;
    page << in.rdbuf();
    if (!in) {
        std::cerr << "quavern_cli_manual: cannot read " << argv[1] << '\n';
        return 1;
    }
    const std::string marker = ".\\\" OPTIONS: written by the build from the option table of quavern-cli\n";
    std::string text = page.str();
    const std::size_t at = text.find(marker);
    if (at == std::string::npos) {
        std::cerr << "quavern_cli_manual: " << argv[1] << " has no place for the options\n";
        return 1;
    }
    text.replace(at, marker.size(), ManualOptionsText());
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::cerr << "quavern_cli_manual: cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
