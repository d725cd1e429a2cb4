// Independent steps run on a few threads at once.
#pragma once
#include <cstddef>
#include <functional>

// Threads for work spread over the machine's cores: one per core, at most eight.
unsigned CoreThreads();

// Calls step(i) for each i in [0, count) on up to threads threads (the
// caller's among them), each taking the next index in turn; once a step
// returns false, no further index is started. Returns when every started
// step has returned. Without further threads the caller runs every step.
void RunInParallel(size_t count, unsigned threads, const std::function<bool(size_t)>& step);
