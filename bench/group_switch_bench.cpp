// Switching the favourites to a group of 32,767 entries against switching to
// one of 100, in the same run: how long the window is busy before it answers
// the next click (the switch and the list's first paint), and how long until
// every entry shows whether its file is there.

#include "app/list_file.h"
#include "app/main_window.h"
#include "app/reelbox_b.h"
#include "player/window_player_factory.h"
#include "widgets/list_box.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int EmptyGroup = 2;

// A program folder whose group 0 holds 100 entries and group 1 the most a
// list holds, each a clip on disk but for every hundredth, which is gone.
struct Program
{
    QTemporaryDir folder;
    std::unique_ptr<Reelbox_B> shared;
    std::unique_ptr<WindowPlayerFactory> players;
    std::unique_ptr<Reelbox_S> window;

    Program()
    {
        QDir(folder.path()).mkdir("clips");
        WriteGroup(0, 100);
        WriteGroup(1, MaxListEntries);
        QFile ini(folder.filePath("Reelbox.ini"));
        ini.open(QIODevice::WriteOnly);
        ini.write(QStringLiteral("[Section]\r\nGroup=%1\r\n").arg(EmptyGroup).toUtf8());
        ini.close();
        shared = std::make_unique<Reelbox_B>(folder.path());
        players = std::make_unique<WindowPlayerFactory>(*shared);
        window = std::make_unique<Reelbox_S>(*shared, *players);
        window->show();
        QApplication::processEvents();
    }

    void WriteGroup(int group, int entries)
    {
        QByteArray records;
        for (int i = 0; i < entries; ++i) {
            const QString clip = folder.filePath(QStringLiteral("clips/%1 clip %2.avi").arg(group).arg(i));
            if (i % 100 != 99)
                QFile(clip).open(QIODevice::WriteOnly);
            records += EncodeListRecord(clip);
        }
        QFile file(folder.filePath(ListFileTitle(group)));
        file.open(QIODevice::WriteOnly);
        file.write(records);
    }

    // Made on first use, ended before the application is.
    static std::unique_ptr<Program> &Shared()
    {
        static std::unique_ptr<Program> program;
        if (!program)
            program = std::make_unique<Program>();
        return program;
    }
};

// From the press on the group's marker to the list drawn: what the window
// does before it can take the next click.
void BM_GroupSwitchUntilAnswering(benchmark::State &state)
{
    Reelbox_S &w = *Program::Shared()->window;
    const auto group = qint16(state.range(0));
    for (auto _ : state) {
        w.Img_G_MouseDown(group);
        w.List_Favorite->repaint();
        state.PauseTiming();
        w.Img_G_MouseDown(EmptyGroup);
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetLabel(QStringLiteral("%1 entries").arg(group == 0 ? 100 : MaxListEntries).toStdString());
}

// From the press until every entry shows whether its file is there.
void BM_GroupSwitchUntilAllMarked(benchmark::State &state)
{
    Reelbox_S &w = *Program::Shared()->window;
    const auto group = qint16(state.range(0));
    for (auto _ : state) {
        w.Img_G_MouseDown(group);
        while (w.CheckingFavorites())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        state.PauseTiming();
        w.Img_G_MouseDown(EmptyGroup);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_GroupSwitchUntilAnswering)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_GroupSwitchUntilAllMarked)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

// Prints the ratio the switch is judged by: 32,767 entries against 100.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            times_[run.run_name.str()] = run.GetAdjustedRealTime();
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const char *name : {"BM_GroupSwitchUntilAnswering", "BM_GroupSwitchUntilAllMarked"}) {
            const double small = times_[std::string(name) + "/0/iterations:5"];
            const double large = times_[std::string(name) + "/1/iterations:5"];
            if (small > 0)
                std::printf("%s: 32,767 entries %.1f ms, 100 entries %.1f ms: %.2fx\n", name, large, small,
                            large / small);
        }
    }

private:
    std::map<std::string, double> times_;
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    Program::Shared().reset();
    return 0;
}
