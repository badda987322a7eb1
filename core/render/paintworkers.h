#pragma once

#include <cstdint>
#include <functional>

// Runs the parts of one paint side by side: a paint of a large frame is bound by reading the
// picture from memory, and one processor alone cannot draw the memory's full speed. Part 0
// runs on the calling thread, the others on worker threads kept for the life of the process,
// so that a paint starts no thread. When no worker can be started the caller runs every
// part itself; the result is the same either way.
namespace PaintWorkers {

// The parts a paint of `pixels` frame pixels is worth splitting into: one per processor, at
// most four, and none smaller than 64 Ki pixels (below that a part costs less than handing
// it over).
int partsFor(std::int64_t pixels);

// Calls work(k) once for each k in 0 .. parts - 1, some of them on worker threads, and
// returns when every call has returned. `work` must not throw. Calls from several threads
// take turns.
void run(int parts, const std::function<void(int)>& work);

} // namespace PaintWorkers
