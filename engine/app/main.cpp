#include "engine/app/CommandLine.h"

int main(int argc, char** argv)
{
    return KestrixMain(argc, argv);
}
