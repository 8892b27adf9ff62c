// The program as a user meets it, measured from outside as whole processes: a bare
// process as the floor of every start; --version and --help; a headless start to the
// first frame and its end; the peak memory of a reading session; the fsync calls of a
// start, a lesson step and the end; idle processor time and wake-ups; and in a real
// window under the X server in $DISPLAY: the time from exec until the window is viewable
// (beside a bare SDL window as its floor), its resident memory, and the end after the
// close button, beside a bare SDL window's. VINTREL_BENCH_PROGRAM names another build of
// the program to measure.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "child.h"
#include "x_session.h"

namespace {

using bench::Sandbox;

constexpr int kRuns = 10;  // of the repeated whole-process figures
constexpr int kIdleSeconds = 10;
constexpr int kWindowTimeoutMs = 10000;

std::string Program() {
  const char* chosen = std::getenv("VINTREL_BENCH_PROGRAM");
  return chosen && *chosen ? chosen : VINTREL_PROGRAM;
}

// A reader with its face stored (so no font dialog opens) on a chosen lesson.
void WriteReaderSettings(const Sandbox& sandbox) {
  sandbox.WriteSettings(
      "\"FontName\"=\"Miriam CLM\"\r\n\"FontSize\"=dword:00000010\r\n"
      "\"Lesson\"=dword:00000064\r\n\"Flags\"=dword:d1140044\r\n");
}

std::vector<std::string> Headless(const std::string& script) {
  return {Program(), "--headless", "--script", script};
}

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// The samples of several runs in one iteration: the iteration's time is the median of
// the "ms" samples, each other figure the median of its own.
class Medians {
 public:
  void add(const std::string& figure, double value) { samples_[figure].push_back(value); }
  void report(benchmark::State& state) {
    for (auto& [figure, values] : samples_) {
      std::sort(values.begin(), values.end());
      const size_t n = values.size();
      const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
      if (figure == "ms") state.SetIterationTime(median / 1e3);
      else state.counters[figure] = median;
    }
  }

 private:
  std::map<std::string, std::vector<double>> samples_;
};

// Runs the arguments to their end kRuns times: their wall time, processor time and peak
// memory.
void TimeRuns(benchmark::State& state, const std::vector<std::string>& arguments,
              const Sandbox* settings = nullptr) {
  for (auto _ : state) {
    Medians medians;
    for (int run = 0; run < kRuns; ++run) {
      if (settings) WriteReaderSettings(*settings);
      const bench::Ended ended = bench::Run(arguments);
      if (!ended.ok) return state.SkipWithError(("failed: " + arguments[0]).c_str());
      medians.add("ms", ended.wallMs);
      medians.add("cpu_ms", ended.cpuMs);
      medians.add("peak_MiB", ended.peakResidentMiB);
    }
    medians.report(state);
  }
}

void BM_BareProcess(benchmark::State& state) { TimeRuns(state, {"true"}); }

void BM_Version(benchmark::State& state) { TimeRuns(state, {Program(), "--version"}); }

void BM_Help(benchmark::State& state) { TimeRuns(state, {Program(), "--help"}); }

void BM_HeadlessStart(benchmark::State& state) {
  Sandbox sandbox;
  TimeRuns(state, Headless(sandbox.WriteFile("quit.script", "quit\n")), &sandbox);
}

// Twenty lessons, three pages each.
void BM_HeadlessReading(benchmark::State& state) {
  Sandbox sandbox;
  std::string script;
  for (int i = 0; i < 20; ++i) script += "key PageDown PageDown PageDown Right\n";
  const std::vector<std::string> arguments = Headless(sandbox.WriteFile("reading.script", script));
  for (auto _ : state) {
    WriteReaderSettings(sandbox);
    const bench::Ended ended = bench::Run(arguments);
    if (!ended.ok) return state.SkipWithError("the program failed");
    state.SetIterationTime(ended.wallMs / 1e3);
    state.counters["peak_MiB"] = ended.peakResidentMiB;
  }
}

// Runs under strace; the count of the calls that wait for the disk.
void BM_Fsyncs(benchmark::State& state) {
  Sandbox sandbox;
  const std::string script = sandbox.WriteFile("step.script", "key Right\nquit\n");
  const std::string log = sandbox.WriteFile("strace.log", "");
  long calls = 0;
  for (auto _ : state) {
    WriteReaderSettings(sandbox);
    std::vector<std::string> arguments = {"strace", "-f", "-qq", "-o", log, "-e",
                                          "trace=fsync,fdatasync,syncfs,sync"};
    for (const std::string& word : Headless(script)) arguments.push_back(word);
    const bench::Ended ended = bench::Run(arguments);
    if (!ended.ok) return state.SkipWithError("strace or the program failed");
    state.SetIterationTime(ended.wallMs / 1e3);
    std::ifstream lines(log);
    for (std::string line; std::getline(lines, line);) calls += line.find("sync(") != std::string::npos;
  }
  state.counters["fsyncs"] = benchmark::Counter(double(calls), benchmark::Counter::kAvgIterations);
}

// Processor time and wake-ups of a running process over kIdleSeconds, after a second to
// settle.
void MeasureIdle(benchmark::State& state, pid_t pid) {
  Sleep(1000);
  const bench::Activity before = bench::ActivityOf(pid);
  const auto start = bench::Clock::now();
  Sleep(kIdleSeconds * 1000);
  const bench::Activity after = bench::ActivityOf(pid);
  const double seconds = bench::MillisecondsSince(start) / 1e3;
  state.SetIterationTime(seconds);
  state.counters["cpu_ms"] = after.cpuMs - before.cpuMs;
  state.counters["wakeups_per_s"] = double(after.switches - before.switches) / seconds;
}

void BM_HeadlessIdle(benchmark::State& state) {
  Sandbox sandbox;
  WriteReaderSettings(sandbox);
  const std::string script =
      sandbox.WriteFile("idle.script", "wait " + std::to_string((kIdleSeconds + 2) * 1000) + "\n");
  for (auto _ : state) {
    const bench::Child child = bench::Spawn(Headless(script));
    MeasureIdle(state, child.pid);
    if (!bench::Wait(child, kWindowTimeoutMs).ok) state.SkipWithError("the program failed");
  }
}

// A program that opens one window: started, followed until its window is viewable and
// a little longer (a window may be made again with other properties), then closed by the
// close button. The viewable time is that of the window that stayed.
class WindowRun {
 public:
  explicit WindowRun(const std::vector<std::string>& arguments)
      : child_(bench::Spawn(arguments)) {
    x_.watch(kWindowTimeoutMs, true);
    x_.watch(kSettleMs);
  }
  ~WindowRun() {
    if (!ended_) end();
  }
  bool ok() const { return x_.ok() && x_.window() != 0; }
  double viewableMs() const {
    return std::chrono::duration<double, std::milli>(x_.mappedAt(x_.window()) - child_.started)
        .count();
  }
  pid_t pid() const { return child_.pid; }
  void pressKey(const char* name) {
    x_.pressKey(x_.window(), name);
    x_.watch(kSettleMs);
  }
  // Presses the close button; the time until the process ended.
  bench::Ended end() {
    ended_ = true;
    const auto pressed = bench::Clock::now();
    if (x_.window()) x_.close(x_.window());
    bench::Ended ended = bench::Wait(child_, kWindowTimeoutMs);
    ended.wallMs = bench::MillisecondsSince(pressed);
    return ended;
  }

 private:
  static constexpr int kSettleMs = 500;
  bench::XSession x_;
  bench::Child child_;
  bool ended_ = false;
};

bool HaveDisplay(benchmark::State& state) {
  if (std::getenv("DISPLAY")) return true;
  state.SkipWithError("no X server: set DISPLAY (scripts/bench starts one)");
  return false;
}

// The time from exec to a viewable window, the resident memory half a second later and
// the peak, over kRuns runs.
void TimeWindows(benchmark::State& state, const std::vector<std::string>& arguments) {
  if (!HaveDisplay(state)) return;
  for (auto _ : state) {
    Medians medians;
    for (int i = 0; i < kRuns; ++i) {
      WindowRun run(arguments);
      if (!run.ok()) return state.SkipWithError("no window appeared");
      medians.add("ms", run.viewableMs());
      medians.add("rss_MiB", bench::ResidentMiB(run.pid()));
      medians.add("peak_MiB", run.end().peakResidentMiB);
    }
    medians.report(state);
  }
}

void BM_BareWindowViewable(benchmark::State& state) { TimeWindows(state, {BARE_WINDOW}); }

void BM_WindowViewable(benchmark::State& state) {
  Sandbox sandbox;
  WriteReaderSettings(sandbox);
  TimeWindows(state, {Program()});
}

void BM_WindowIdle(benchmark::State& state) {
  if (!HaveDisplay(state)) return;
  Sandbox sandbox;
  WriteReaderSettings(sandbox);
  for (auto _ : state) {
    WindowRun run({Program()});
    if (!run.ok()) return state.SkipWithError("no window appeared");
    MeasureIdle(state, run.pid());
  }
}

// The close button pressed on a window left alone for a moment: the time until the
// process ended, over kRuns runs. A reader steps a lesson first, so that it has
// something to save.
void TimeEnds(benchmark::State& state, const std::vector<std::string>& arguments, bool reader) {
  if (!HaveDisplay(state)) return;
  Sandbox sandbox;
  for (auto _ : state) {
    Medians medians;
    for (int i = 0; i < kRuns; ++i) {
      WriteReaderSettings(sandbox);
      WindowRun run(arguments);
      if (!run.ok()) return state.SkipWithError("no window appeared");
      if (reader) run.pressKey("Right");
      const bench::Ended ended = run.end();
      if (!ended.ok) return state.SkipWithError("the program did not end cleanly");
      medians.add("ms", ended.wallMs);
    }
    medians.report(state);
  }
}

void BM_BareWindowExit(benchmark::State& state) { TimeEnds(state, {BARE_WINDOW}, false); }

void BM_WindowExit(benchmark::State& state) { TimeEnds(state, {Program()}, true); }

// One iteration each: the repeated figures take their kRuns runs inside it.
void Once(benchmark::internal::Benchmark* b) {
  b->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_BareProcess)->Apply(Once);
BENCHMARK(BM_Version)->Apply(Once);
BENCHMARK(BM_Help)->Apply(Once);
BENCHMARK(BM_HeadlessStart)->Apply(Once);
BENCHMARK(BM_HeadlessReading)->Apply(Once);
BENCHMARK(BM_Fsyncs)->Apply(Once);
BENCHMARK(BM_HeadlessIdle)->Apply(Once);
BENCHMARK(BM_BareWindowViewable)->Apply(Once);
BENCHMARK(BM_WindowViewable)->Apply(Once);
BENCHMARK(BM_WindowIdle)->Apply(Once);
BENCHMARK(BM_BareWindowExit)->Apply(Once);
BENCHMARK(BM_WindowExit)->Apply(Once);

}  // namespace
