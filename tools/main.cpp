// rkstage: the headless command-line tool over rkcore.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "command.h"
#include "fileio.h"
#include "text/terminaltext.h"

namespace {
std::map<std::string, CommandInfo>& commands() {
    static std::map<std::string, CommandInfo> table;
    return table;
}

int usage() {
    std::fprintf(stderr, "usage:\n");
    for (const auto& [name, info] : commands())
        std::fprintf(stderr, "  rkstage %s %s\n", name.c_str(), info.usage);
    return 2;
}
} // namespace

bool registerCommand(const CommandInfo& info) {
    commands()[info.name] = info;
    return true;
}

int fail(const std::string& message) {
    std::fprintf(stderr, "rkstage: %s\n", terminalSafe(message).c_str());
    return 1;
}

int usageError(const char* name) {
    auto it = commands().find(name);
    if (it == commands().end())
        return usage();
    std::fprintf(stderr, "usage: rkstage %s %s\n", name, it->second.usage);
    return 2;
}

int refuseOutputThatIsInput(const char* name, const std::string& in, const std::string& out) {
    if (!sameFile(in, out))
        return 0;
    std::fprintf(stderr, "rkstage %s: %s is the input file %s itself; nothing written\n", name,
                 terminalSafe(out).c_str(), terminalSafe(in).c_str());
    return 2;
}

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    auto it = commands().find(argv[1]);
    if (it == commands().end())
        return usage();
    return it->second.run(std::vector<std::string>(argv + 2, argv + argc));
}
