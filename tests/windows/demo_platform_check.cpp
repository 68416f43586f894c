// Links the demo's Windows seams into a program (built, not run here; the Qt test
// app_demo_platform runs them under Wine).
#include "ProcessEnd.h"
#include "UserRootStore.h"

#include <cstdio>

int main(int argc, char**)
{
    std::string error;
    bool added = false;
    const UserRootStore::Der none;
    if (UserRootStore::add(none, &added, &error) || !UserRootStore::remove(none, &error)
        || UserRootStore::contains(none))
        std::printf("%s\n", error.c_str());
    if (argc > 1)
        ProcessEnd::now(3);
    return 0;
}
