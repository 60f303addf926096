// End-to-end driver: starts rillo.exe, acts like a player from outside the
// process and checks what the program shows and how it ends.
//
//   rillo_e2e.exe <scenario> <rillo.exe> <working folder> [arguments...]
//   rillo_e2e.exe --list
//
// Each scenario prints "PASS <name>" or "FAIL <name>: <reason>" as its last
// line and the driver exits with 0 or 1. Screenshots are written into the
// driver's own current folder. --list prints one line per scenario in the
// order they run: its name, a tab, the files of src\ its working folder
// must not contain, a tab and the time limit it asks for in seconds (0 for
// the runner's default).
//
// driver.h includes the library's parts (processes, windows, boxes and
// dialogs, clicks, pixels, screenshots, the screens, the board, games against
// the computer, the highscore file); the scenarios_*.cpp files hold the
// scenarios, each with its description beside it.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "e2e/scenarios.h"

namespace e2e {

std::vector<Scenario>& AllScenarios() {
    static std::vector<Scenario> scenarios;
    return scenarios;
}

}  // namespace e2e

int main(int argc, char** argv) {
    using e2e::Failure;
    using e2e::Options;
    using e2e::Scenario;
    // Unbuffered, so that what a scenario printed survives a driver that dies
    // before its verdict (the runner then shows it with driver.err).
    (void)std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::vector<Scenario> scenarios = e2e::AllScenarios();
    std::stable_sort(scenarios.begin(), scenarios.end(),
                     [](const Scenario& a, const Scenario& b) { return a.order < b.order; });
    if (argc == 2 && std::string(argv[1]) == "--list") {
        for (const Scenario& scenario : scenarios)
            std::printf("%s\t%s\t%d\n", scenario.name, scenario.leftOut, scenario.seconds);
        return 0;
    }
    if (argc < 4) {
        (void)std::fputs(
            "usage: rillo_e2e <scenario> <rillo.exe> <working folder> [...]\n"
            "       rillo_e2e --list\n",
            stderr);
        return 2;
    }
    Options options;
    options.program = argv[2];
    options.folder = argv[3];
    for (int i = 4; i < argc; ++i)
        options.arguments.emplace_back(argv[i]);

    const std::string name = argv[1];
    for (const Scenario& scenario : scenarios) {
        if (name != scenario.name)
            continue;
        // The runner looks for this line to tell a driver that ran from one
        // that Wine could not start at all.
        (void)std::fprintf(stderr, "rillo_e2e %s: started\n", scenario.name);
        Failure failure = scenario.run(options);
        if (failure.empty()) {
            std::printf("PASS %s\n", scenario.name);
        } else {
            std::printf("FAIL %s: %s\n", scenario.name, failure.c_str());
        }
        (void)std::fflush(stdout);  // the result is in the exit status too
        return failure.empty() ? 0 : 1;
    }
    std::printf("FAIL %s: no such scenario\n", name.c_str());
    return 1;
}
