// The window side of a view rebuild: RefreshView filling the view to its capacity (one batch,
// statistics once) and the Cyrillic highlight of that full view. Runs on the offscreen
// platform.
#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "core/display_limit.h"
#include "core/settings.h"
#include "platform/cursor.h"
#include "platform/shell.h"
#include "ui/dialogs.h"
#include "ui/error_report.h"
#include "ui/main_window.h"
#include "ui/skin.h"

namespace {

class NoDialogs final : public quillex::Dialogs {
  public:
    std::optional<QString> OpenFile(const QString&, const QStringList&) override { return chosen; }
    std::optional<QString> SaveFile(const QString&, const QStringList&) override {
        return std::nullopt;
    }
    QStringList OpenFiles(const QString&, const QStringList&) override { return {}; }
    std::optional<QString> ChooseFolder(const QString&) override { return std::nullopt; }
    void Message(const QString&) override {}
    bool Ask(const QString&) override { return false; }
    std::optional<QString> chosen;
};

// No key: the defaults apply and nothing is written.
class NoSettings final : public quillex::SettingsStore {
  public:
    bool Open() override { return false; }
    bool ValueExists(std::string_view) override { return false; }
    std::int32_t ReadInteger(std::string_view) override { return 0; }
    void WriteInteger(std::string_view, std::int32_t) override {}
    void Close() override {}
};

class NoReport final : public quillex::ErrorReport {
  public:
    void ShowError(const QString&) override {}
};

class NoShell final : public quillex::Shell {
  public:
    void Open(const quillex::ShellTarget&) override {}
};

struct Window {
    NoDialogs dialogs;
    quillex::SystemCursor cursor;
    NoReport report;
    NoSettings settings;
    NoShell shell;
    quillex::MainWindow mainWindow{{.dialogs = dialogs,
                                    .cursor = cursor,
                                    .report = report,
                                    .settings = settings,
                                    .shell = shell,
                                    .trayAvailable = [] { return false; }}};

    explicit Window(std::size_t lines) {
        for (std::size_t i = 0; i < lines; ++i) {
            mainWindow.Document().Add("line " + std::to_string(i) +
                                      " text \xCF\xF0\xE8\xE2\xE5\xF2 and more words");
        }
    }
};

void BM_RefreshViewToCapacity(benchmark::State& state) {
    Window window(static_cast<std::size_t>(state.range(0)));
    window.mainWindow.SetDisplayLimit(quillex::kDisplayLimitAll);
    for (auto _ : state) {
        window.mainWindow.RefreshView();
    }
}
BENCHMARK(BM_RefreshViewToCapacity)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_RefreshViewFirst100(benchmark::State& state) {
    Window window(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        window.mainWindow.RefreshView();
    }
}
BENCHMARK(BM_RefreshViewFirst100)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_HighlightFullView(benchmark::State& state) {
    Window window(5000);
    window.mainWindow.SetDisplayLimit(quillex::kDisplayLimitAll);
    for (auto _ : state) {
        window.mainWindow.HighlightCyrillic();
    }
}
BENCHMARK(BM_HighlightFullView)->Unit(benchmark::kMillisecond);

// The process's peak resident memory so far, in KiB.
long PeakKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

// --peak FILE: what loading FILE through the Open button adds to the window's peak memory, as
// a multiple of the file's size.
int MeasureLoad(const char* file) {
    Window window(0);
    window.mainWindow.show();
    QApplication::processEvents();
    const long before = PeakKiB();
    window.dialogs.chosen = QString::fromLocal8Bit(file);
    window.mainWindow.ChooseAndLoadFile();
    QApplication::processEvents();
    const double size = static_cast<double>(std::filesystem::file_size(file)) / 1024.0;
    std::printf("%zu lines loaded; the window's peak memory grew by %.2fx the file's size\n",
                window.mainWindow.Document().Count(),
                static_cast<double>(PeakKiB() - before) / size);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    quillex::InitSkinResources();
    if (argc == 3 && std::string(argv[1]) == "--peak") {
        return MeasureLoad(argv[2]);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
