// The engine's command line: eight positional arguments followed by options.
#pragma once

#include <string>
#include <vector>

class KestrixEngine;

void PrintUsage();

// Makes a header directory absolute against the working directory. Prints an "Error: " line
// and throws KestrixExit{1} when the working directory cannot be read.
std::string FullyQualifyPath(const std::string& path);

// Splits an option value at every comma; empty pieces are kept only when keepEmpty is set.
std::vector<std::string> SplitAtCommas(const std::string& value, bool keepEmpty);

// Scans every argument after the program name (positional ones included) for option names
// and applies them to the engine. Returns false when a value-taking option is the last
// argument.
bool ApplyOptions(KestrixEngine& engine, const std::vector<std::string>& args);

// The whole program: returns the process exit status.
int KestrixMain(int argc, char** argv);
