#pragma once

#include <string>
#include <vector>

// rkstage subcommands register themselves from their own files (one file per command).
// A command returns the process's exit code: 0 success, 1 error (one line on stderr,
// nothing written), 2 bad usage.
using CommandFunction = int (*)(const std::vector<std::string>& args);

struct CommandInfo {
    const char* name;
    const char* usage; // the argument part of the usage line
    CommandFunction run;
};

bool registerCommand(const CommandInfo& info);

// Prints "rkstage: <message>" on stderr and returns 1.
int fail(const std::string& message);
// Prints this command's usage on stderr and returns 2.
int usageError(const char* name);
// When `out` names the file `in` (also through links) prints that on stderr and returns 2
// (bad usage: the output would destroy the input it is made from); otherwise returns 0.
int refuseOutputThatIsInput(const char* name, const std::string& in, const std::string& out);
