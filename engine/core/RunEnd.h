// Ways a run ends early. main() turns each into the process's exit status; throwing instead
// of calling exit() unwinds the run, so that temporary files are removed and the previous
// personality stays in place.
#pragma once

#include <string>

// Ends the run with this status; whatever had to be said has been said.
struct KestrixExit {
    int Status;
};

// Ends the run with status 1; the message (naming the file or value and the reason) goes
// to standard error.
struct RunFailure {
    std::string Message;
};
