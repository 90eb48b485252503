// zentrivo-cli: the command-line tool of the CL command reference.
#include "CliApp.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv, argv + argc);
    return CliApp().Run(args);
}
