#include <iostream>

#include "export/ExportCommandLine.h"

int main(int argc, char** argv)
{
    return kxexport::ExportMain(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
