// The driver's list of scenarios. A scenario file defines each scenario as a
// function over the library in driver.h and adds it to the list with
// E2E_SCENARIO right after it; the driver runs and lists them by their order
// number, so the quick checks of the start come first and the long runs last.
// A scenario that needs longer than e2e/run.sh's usual limit per scenario
// registers with E2E_LONG_SCENARIO and the seconds it may take.
#pragma once
#include <vector>

#include "e2e/driver.h"

namespace e2e {

struct Scenario {
    int order;
    const char* name;
    Failure (*run)(const Options&);
    const char* leftOut;  // files of src\ the working folder must not hold
    int seconds;          // time limit of the run in seconds, 0 for the runner's default
};

// Every scenario added so far, in no particular order.
std::vector<Scenario>& AllScenarios();

inline bool AddScenario(const Scenario& scenario) {
    AllScenarios().push_back(scenario);
    return true;
}

}  // namespace e2e

#define E2E_SCENARIO(order, name, function, leftOut) \
    static const bool added_##function = ::e2e::AddScenario({order, name, function, leftOut, 0})

#define E2E_LONG_SCENARIO(order, name, function, leftOut, seconds) \
    static const bool added_##function =                           \
        ::e2e::AddScenario({order, name, function, leftOut, seconds})
