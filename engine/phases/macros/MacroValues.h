// The texts the compiler shows for the values of its predefined macros, each still to be
// cleaned and recorded.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/probe/RunContext.h"

// The plain probes of one macro. Native compilers: a program prints the stringified
// expansion. Cross compilers: the expansion becomes the name of a missing header, which the
// compiler quotes; then, for binary objects, it is stored in the object's data between two
// marker words. Every text that either shows, in that order.
std::vector<std::string> ValuesOfOneMacro(const RunContext& context, const std::string& name);

// The same texts for many macros from a few compiles: one program that prints every value
// (native) or one object that holds them all (cross). For each macro the texts its plain
// probes would give, or nothing where only its own probes can tell.
std::vector<std::optional<std::vector<std::string>>> ValuesReadTogether(const RunContext& context,
                                                                      const std::vector<std::string>& names);
