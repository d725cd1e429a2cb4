// Times a full update into an empty folder and a second run with nothing to
// fetch, for bench_updater.py, which runs the baselines beside it.
#include <cstdio>

#include "CmdLine.h"
#include "OrvoClientUpdater.h"
#include "UpdateDriver.h"
#include "support/BenchClock.h"

namespace {

bool TimedRun(const char* url, const char* folder, const char* label)
{
    OrvoClientUpdater updater;
    UpdateDriver driver;
    double start = bench::Now();
    UpdateOutcome outcome = driver.Run(updater, url, folder, 3600 * 1000);
    double elapsed = bench::Now() - start;
    printf("%s %.3f %s\n", label, elapsed, OutcomeName(outcome));
    return outcome == UpdateOutcome::Done;
}

} // namespace

int main()
{
    CmdLineParse(GetCommandLineA());
    printf("note %s\n", bench::ExecutionNote());
    const char* url = CmdLineGetValue("--updateUrl");
    const char* folder = CmdLineGetValue("--appPath");
    bool ok = TimedRun(url, folder, "full") && TimedRun(url, folder, "check");
    CmdLineFree();
    return ok ? 0 : 1;
}
