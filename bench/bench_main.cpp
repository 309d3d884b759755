// Runs the benchmarks, then prints how the console frame's cost grows with the log, as ratios
// measured in this run, and can write that series for the plot:
//   tarnwick_bench [benchmark flags] [--frame_cost_data=FILE]

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>

namespace {

constexpr const char* kDataFlag = "--frame_cost_data=";
constexpr const char* kFramePrefix = "ConsoleFrame/";
const char* const kDrawings[] = {"VisibleRows", "EveryRow"};

// Shows the usual table and keeps each console frame's CPU time per iteration, in
// microseconds, by drawing and log length (the median when runs are repeated).
class FrameCostReporter : public benchmark::ConsoleReporter {
public:
    FrameCostReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        // Repeated runs come before their aggregates, so a median replaces them.
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
            const std::string& name = run.run_name.function_name;
            if (name.rfind(kFramePrefix, 0) != 0) continue;
            const std::string drawing = name.substr(std::strlen(kFramePrefix));
            const long lines = std::stol(run.run_name.args);
            costs_[drawing][lines] = run.GetAdjustedCPUTime() * Microseconds(run.time_unit);
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        if (costs_.empty()) return;
        std::printf("\nConsole frame cost relative to a log of 100 lines (CPU time):\n");
        for (const char* drawing : kDrawings) {
            const std::map<long, double>& series = costs_[drawing];
            const auto base = series.find(100);
            if (base == series.end() || !(base->second > 0.0)) continue;
            std::printf("  %-12s", drawing);
            for (const auto& [lines, cost] : series) {
                std::printf("  %ld lines %.2fx", lines, cost / base->second);
            }
            std::printf("\n");
        }
    }

    // Lines, then microseconds per frame for each drawing; a missing figure is written as "?".
    bool WriteData(const std::string& path) const {
        std::ofstream out(path);
        out << "# lines";
        for (const char* drawing : kDrawings) out << ' ' << drawing << "_us";
        out << '\n';
        std::map<long, bool> lengths;
        for (const auto& [drawing, series] : costs_) {
            for (const auto& [lines, cost] : series) lengths[lines] = true;
        }
        for (const auto& [lines, present] : lengths) {
            out << lines;
            for (const char* drawing : kDrawings) {
                const auto found = costs_.find(drawing);
                if (found == costs_.end() || found->second.count(lines) == 0) {
                    out << " ?";
                } else {
                    out << ' ' << found->second.at(lines);
                }
            }
            out << '\n';
        }
        return static_cast<bool>(out);
    }

private:
    static double Microseconds(benchmark::TimeUnit unit) {
        switch (unit) {
            case benchmark::kNanosecond:
                return 1e-3;
            case benchmark::kMicrosecond:
                return 1.0;
            case benchmark::kMillisecond:
                return 1e3;
            case benchmark::kSecond:
                return 1e6;
        }
        return 1.0;
    }

    std::map<std::string, std::map<long, double>> costs_;
};

}  // namespace

int main(int argc, char** argv) {
    std::string dataPath;
    int kept = 0;
    for (int n = 0; n < argc; ++n) {
        if (n > 0 && std::strncmp(argv[n], kDataFlag, std::strlen(kDataFlag)) == 0) {
            dataPath = argv[n] + std::strlen(kDataFlag);
        } else {
            argv[kept++] = argv[n];
        }
    }
    argc = kept;

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    FrameCostReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (!dataPath.empty() && !reporter.WriteData(dataPath)) {
        std::fprintf(stderr, "tarnwick_bench: cannot write %s\n", dataPath.c_str());
        return 1;
    }
    return 0;
}
