// Load + save of a 1,000,000-line, ~100 MB file in the text form against a floor program that
// reads the file with one read, splits it with memchr into string views and writes it back
// with one write (our save also flushes the file to the disk before it replaces the old one).
// Prints the ratio of the medians and the peak memory of a load.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string_view>
#include <vector>

#include "core/document_lines.h"

namespace fs = std::filesystem;

namespace {

const fs::path kDir = fs::temp_directory_path() / "quillex-bench";
const fs::path kInput = kDir / "input.txt";
const fs::path kOutput = kDir / "output.txt";

// ~100 bytes a line on average: mixed Latin and Cyrillic, blanks, tabs, punctuation.
void GenerateInput(std::size_t lines) {
    fs::create_directories(kDir);
    std::ofstream out(kInput, std::ios::binary);
    std::mt19937 random(42);
    const std::string_view alphabet =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJ \t.,;:!?0123456789"
        "\xC0\xC1\xC2\xC3\xE0\xE1\xE2\xE3\xA8\xB8";
    std::string line;
    for (std::size_t i = 0; i < lines; ++i) {
        line.assign(20 + random() % 160, ' ');
        for (char& c : line) {
            c = alphabet[random() % alphabet.size()];
        }
        line += "\r\n";  // the text form: loading indexes the bytes where they were read
        out << line;
    }
}

// One read into an uninitialised buffer: the least a loader can do.
std::string_view ReadWhole(const fs::path& path, std::unique_ptr<char[]>& buffer) {
    std::size_t size = fs::file_size(path);
    buffer.reset(new char[size]);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    std::size_t got = std::fread(buffer.get(), 1, size, f);
    std::fclose(f);
    return {buffer.get(), got};
}

void BM_Floor(benchmark::State& state) {
    for (auto _ : state) {
        std::unique_ptr<char[]> buffer;
        std::string_view data = ReadWhole(kInput, buffer);
        std::vector<std::string_view> views;
        const char* p = data.data();
        const char* end = p + data.size();
        while (p < end) {
            const char* nl = static_cast<const char*>(std::memchr(p, '\n', end - p));
            if (nl == nullptr) {
                nl = end;
            }
            views.emplace_back(p, nl - p);
            p = nl + 1;
        }
        fs::remove(kOutput);  // a new file, as the safe save writes, not a truncated one
        std::FILE* f = std::fopen(kOutput.c_str(), "wb");
        std::fwrite(data.data(), 1, data.size(), f);
        std::fclose(f);
        benchmark::DoNotOptimize(views.data());
    }
}

void BM_LoadSave(benchmark::State& state) {
    for (auto _ : state) {
        quillex::DocumentLines document;
        document.LoadFromFile(kInput);
        document.SaveToFile(kOutput);
        benchmark::DoNotOptimize(document.Count());
    }
}

BENCHMARK(BM_Floor)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_LoadSave)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

// Peak resident memory of a child process that only loads the file.
long PeakLoadKiB() {
    pid_t pid = fork();
    if (pid == 0) {
        quillex::DocumentLines document;
        document.LoadFromFile(kInput);
        std::_Exit(document.Count() == 0 ? 1 : 0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss;
}

class MedianReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.aggregate_name == "median") {
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;
};

}  // namespace

int main(int argc, char** argv) {
    long baseline = PeakLoadKiB();  // before the input exists: the child's own footprint
    GenerateInput(1'000'000);
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double floor = reporter.medians["BM_Floor"];
    double ours = reporter.medians["BM_LoadSave"];
    if (floor > 0 && ours > 0) {
        std::printf("load+save / floor (medians): %.2f\n", ours / floor);
    }
    double size_kib = static_cast<double>(fs::file_size(kInput)) / 1024.0;
    std::printf("file: %.1f MB, peak memory while loading: %.2fx the file size\n",
                size_kib / 1024.0, static_cast<double>(PeakLoadKiB() - baseline) / size_kib);
    fs::remove_all(kDir);
    return 0;
}
