#pragma once

namespace benchmark {
class State;
}

// Marks the benchmark failed when the program showed a box during it (boxes are answered at
// once with their default button, so that nothing waits).
void failOnBoxes(benchmark::State& state);

// The main of a window benchmark: the offscreen platform, the program's look, boxes answered
// at once, then the benchmarks registered in the executable.
int runWindowBenchmarks(int argc, char** argv);
