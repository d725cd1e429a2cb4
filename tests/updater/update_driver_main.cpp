// Test driver: runs one update for "--appPath" and "--updateUrl" against a
// message-only window, prints every posted message and exits 0 (done),
// 1 (error) or 2 (neither).
#include <cstdio>

#include "CmdLine.h"
#include "OrvoClientUpdater.h"
#include "UpdateDriver.h"

int main()
{
    CmdLineParse(GetCommandLineA());
    OrvoClientUpdater updater;
    updater.SetTimeout(CmdLineGetInt("--timeout", 6));
    UpdateDriver driver;
    UpdateOutcome outcome = driver.Run(updater, CmdLineGetValue("--updateUrl"), CmdLineGetValue("--appPath"));
    for (const PostedMessage& m : driver.Messages())
        printf("msg 0x%X %lu %ld %s\n", m.message, (unsigned long)m.wParam, (long)m.lParam, m.text.c_str());
    printf("folder %s\noutcome %s\n", updater.GetInstallFolder(), OutcomeName(outcome));
    CmdLineFree();
    return outcome == UpdateOutcome::Done ? 0 : outcome == UpdateOutcome::Error ? 1 : 2;
}
