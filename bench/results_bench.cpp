// What the results log costs. Making one run's records with their resonance
// figures and writing them into the station's file (goal: under 5 ms), and
// over a million records opening the results table (count and the first
// screenful), counting the yield and opening the whole results window until
// it is painted (goal: under 200 ms each). The million-record file is built
// once per run of this program in the temporary folder, or kept at
// $QLX_RESULTS_BENCH_DB.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QSqlQuery>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>

#include "app/file_dialogs.h"
#include "app/results_recorder.h"
#include "app/results_window.h"
#include "app/settings.h"
#include "comm/remote_measurement.h"
#include "results/database_open.h"
#include "results/record_builder.h"
#include "results/record_sql.h"
#include "results/resonance_fields.h"
#include "results/result_store.h"
#include "results/results_queries.h"
#include "results/results_table_model.h"
#include "results/sql_connection.h"
#include "sim_curves.h"

namespace {

namespace fs = std::filesystem;
using namespace qlx;

constexpr int kMillion = 1000000;
constexpr std::int64_t kStartMs = 1735689600000;  // 2025-01-01 00:00 UTC
constexpr std::int64_t kEveryMs = 30000;          // a unit every 30 s: a million in 347 days
constexpr int kScreenRows = 30;

// The window's curves after a run of a simulated unit against its reference.
CurveState CurvesOfAUnit(int unit)
{
    static const qlxsim::SimMemory memory = qlxsim::DefaultMemory(1);
    const int ref = unit % 6;
    CurveState s;
    s.FillDefaultLines();
    s.RefLines = memory.ref[ref];
    s.RefLoaded = true;
    s.RefFilePath = "/home/op/refs/ref" + std::to_string(ref) + ".q5imp";
    s.DecodeRefHeader();
    CurveLines points{};
    for (int j = 0; j < kPointCount; ++j)
        points[PointSlot(0, j)] = memory.meas[unit % 12][PointSlot(0, j)];
    TakeMeasuredCurve(s, points);
    return s;
}

const MeasuredRun kOneChannelRun{RunOutcome::Completed, {0}};
constexpr double kRe = 6.4;  // the user's Re of the reference, so that Qts is computed too

// One run's record of a simulated unit against its reference, measured now.
std::vector<ResultRecord> RecordsOfAUnit(int unit)
{
    return MakeRunRecords(CurvesOfAUnit(unit), kOneChannelRun, CurrentRunContext());
}

std::string TempPath(const char* name) { return (fs::temp_directory_path() / name).string(); }

void RemoveDatabase(const std::string& path)
{
    for (const char* suffix : {"", "-wal", "-shm"})
        fs::remove(path + suffix);
}

// Verdicts in the proportions of a line with a few percent of faulty units.
const char* VerdictFor(std::uint32_t r)
{
    const std::uint32_t p = r % 1000;
    if (p < 900)
        return "OK";
    static const char* const ng[] = {"NG1H", "NG1L", "NG2H", "NG2L", "NG3H", "NG3L"};
    if (p < 980)
        return ng[p % 6];
    return p < 990 ? kNoReferenceVerdict : nullptr;  // the rest: cancelled or failed
}

void BuildMillion(const std::string& path)
{
    std::fprintf(stderr, "building %d records in %s ...\n", kMillion, path.c_str());
    SqlConnection c(QStringLiteral("QSQLITE"));
    if (const std::string reason = OpenResultsFile(c.db(), path, {1000, false}); !reason.empty()) {
        std::fprintf(stderr, "%s\n", reason.c_str());
        std::exit(1);
    }
    const std::vector<ResultRecord> templates = [] {
        std::vector<ResultRecord> t;
        for (int unit = 0; unit < 12; ++unit)
            t.push_back(RecordsOfAUnit(unit)[0]);
        return t;
    }();
    std::mt19937 rng(3);
    std::normal_distribution<double> f0Spread(1.0, 0.03);
    QSqlQuery q(c.db());
    q.exec("PRAGMA synchronous=OFF");
    QSqlQuery insert(c.db());
    insert.prepare(InsertRecordSql());
    for (int i = 0; i < kMillion; ++i) {
        if (i % 20000 == 0)
            q.exec("BEGIN");
        ResultRecord r = templates[static_cast<std::size_t>(i) % templates.size()];
        r.uuid = NewUuid();
        r.runUuid = NewUuid();
        r.measuredAtMs = kStartMs + i * kEveryMs;
        const char* verdict = VerdictFor(rng());
        if (verdict) {
            r.verdict = verdict;
            r.refF0Hz = 50.0;
            r.f0Hz = 50.0 * f0Spread(rng);
        } else {
            r.outcome = rng() % 2 ? RunOutcome::Cancelled : RunOutcome::Failed;
            r.channel.reset();
            r.verdict.reset();
            r.points.clear();
        }
        BindRecord(insert, r);
        insert.exec();
        if (i % 20000 == 19999)
            q.exec("COMMIT");
    }
    q.exec("PRAGMA wal_checkpoint(TRUNCATE)");
}

// The million-record file, built on first use.
const std::string& Million()
{
    static const std::string path = [] {
        const char* kept = std::getenv("QLX_RESULTS_BENCH_DB");
        const std::string p = kept ? kept : TempPath("qlx-results-bench-million.sqlite");
        bool present = false;
        if (fs::exists(p)) {
            SqlConnection c(QStringLiteral("QSQLITE"));
            present = OpenResultsFile(c.db(), p).empty();
            QSqlQuery q(c.db());
            present = present && q.exec("SELECT COUNT(*) FROM records") && q.next() && q.value(0).toInt() >= kMillion;
        }
        if (!present) {
            RemoveDatabase(p);
            BuildMillion(p);
        }
        if (!kept)
            std::atexit([] { RemoveDatabase(TempPath("qlx-results-bench-million.sqlite")); });
        return p;
    }();
    return path;
}

// A reading connection on the million-record file, as the results window has.
struct Reader {
    SqlConnection connection{QStringLiteral("QSQLITE")};
    Reader() { OpenResultsFile(connection.db(), Million()); }
    QSqlDatabase db() const { return connection.db(); }
};

// Writing the record of one BINDING POST run, as after every measurement;
// arg 1: commits wait for the disk (synchronous FULL), 0: NORMAL.
void BM_AppendOneRunRecord(benchmark::State& state)
{
    const std::string path = TempPath("qlx-results-bench-append.sqlite");
    RemoveDatabase(path);
    {
        ResultStore store(path, {kStoreBusyTimeoutMs, state.range(0) == 1});
        int unit = 0;
        for (auto _ : state) {
            state.PauseTiming();
            const auto records = RecordsOfAUnit(unit++);
            state.ResumeTiming();
            const AppendResult written = store.Append(records);
            if (!written.written)
                state.SkipWithError("not written");
        }
    }
    RemoveDatabase(path);
}
BENCHMARK(BM_AppendOneRunRecord)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(300);

// Making the records of one run as the recorder does after a measurement:
// the judgement of each record, then the resonance analysis of its channel
// and of the reference (with the refinement); arg 1 with an Re (Qts too),
// 0 without.
void BM_BuildRunRecords(benchmark::State& state)
{
    std::vector<CurveState> units;
    for (int unit = 0; unit < 12; ++unit)
        units.push_back(CurvesOfAUnit(unit));
    const std::optional<double> re = state.range(0) == 1 ? std::optional<double>(kRe) : std::nullopt;
    const RunContext context = CurrentRunContext();
    std::size_t unit = 0;
    double withF0 = 0;
    double withQts = 0;
    for (auto _ : state) {
        const CurveState& curves = units[unit++ % units.size()];
        std::vector<ResultRecord> records = MakeRunRecords(curves, kOneChannelRun, context);
        FillResonanceFields(records, curves, re);
        withF0 += records[0].f0Hz ? 1 : 0;
        withQts += records[0].qts ? 1 : 0;
        benchmark::DoNotOptimize(records);
    }
    // The share of runs the analysis gave an f0 and a Qts: what was timed.
    state.counters["f0"] = withF0 / static_cast<double>(state.iterations());
    state.counters["qts"] = withQts / static_cast<double>(state.iterations());
}
BENCHMARK(BM_BuildRunRecords)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The whole of what a measurement costs the log, in the window's thread:
// the records made with their resonance figures and written (synchronous
// FULL) into a file of a million records.
void BM_RecordOneRunWithResonance(benchmark::State& state)
{
    std::vector<CurveState> units;
    for (int unit = 0; unit < 12; ++unit)
        units.push_back(CurvesOfAUnit(unit));
    ResultStore store(Million());
    std::size_t unit = 0;
    for (auto _ : state) {
        const CurveState& curves = units[unit++ % units.size()];
        std::vector<ResultRecord> records = MakeRunRecords(curves, kOneChannelRun, CurrentRunContext());
        FillResonanceFields(records, curves, kRe);
        if (!store.Append(records).written)
            state.SkipWithError("not written");
    }
}
BENCHMARK(BM_RecordOneRunWithResonance)->Unit(benchmark::kMillisecond)->Iterations(100);

// The same into the file of a million records.
void BM_AppendOneRunRecordToAMillion(benchmark::State& state)
{
    ResultStore store(Million());
    int unit = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto records = RecordsOfAUnit(unit++);
        state.ResumeTiming();
        if (!store.Append(records).written)
            state.SkipWithError("not written");
    }
}
BENCHMARK(BM_AppendOneRunRecordToAMillion)->Unit(benchmark::kMillisecond)->Iterations(100);

// What the results window does when it opens or its filter changes: the
// count, then the cells of the first screenful.
enum FilterKind { NoFilter, ByReference, ByVerdict, OkOnly, LastWeek };

ResultFilter FilterOf(int kind)
{
    ResultFilter f;
    if (kind == ByReference)
        f.refName = "2WAY NL4";
    if (kind == ByVerdict)
        f.verdicts = {"NG3L"};
    if (kind == OkOnly)
        f.verdicts = {"OK"};
    if (kind == LastWeek)
        f.fromMs = kStartMs + (kMillion - 7 * 24 * 120) * kEveryMs;
    return f;
}

void BM_OpenResultsTable(benchmark::State& state)
{
    Reader reader;
    ResultsTableModel model(reader.db());
    const ResultFilter filter = FilterOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        model.SetFilter(filter);
        for (int row = 0; row < std::min(kScreenRows, model.rowCount()); ++row)
            for (int column = 0; column < ResultsTableModel::ColumnCount; ++column)
                benchmark::DoNotOptimize(model.data(model.index(row, column)));
    }
    state.counters["rows"] = model.rowCount();
}
BENCHMARK(BM_OpenResultsTable)
    ->Arg(NoFilter)
    ->Arg(ByReference)
    ->Arg(ByVerdict)
    ->Arg(OkOnly)
    ->Arg(LastWeek)
    ->Unit(benchmark::kMillisecond);

// Scrolling to the oldest record: the deepest page.
void BM_ResultsTableLastScreen(benchmark::State& state)
{
    Reader reader;
    ResultsTableModel model(reader.db());
    model.SetFilter(FilterOf(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        model.Refresh();  // drops the cached pages
        const int rows = model.rowCount();
        for (int row = std::max(0, rows - kScreenRows); row < rows; ++row)
            benchmark::DoNotOptimize(model.data(model.index(row, 0)));
    }
}
BENCHMARK(BM_ResultsTableLastScreen)->Arg(NoFilter)->Arg(ByReference)->Arg(OkOnly)->Unit(benchmark::kMillisecond);

void BM_CountYield(benchmark::State& state)
{
    Reader reader;
    const ResultFilter filter = FilterOf(static_cast<int>(state.range(0)));
    std::int64_t total = 0;
    for (auto _ : state)
        total = CountYield(reader.db(), filter).value_or(YieldCounts{}).total;
    state.counters["units"] = static_cast<double>(total);
}
BENCHMARK(BM_CountYield)
    ->Arg(NoFilter)
    ->Arg(ByReference)
    ->Arg(ByVerdict)
    ->Arg(OkOnly)
    ->Arg(LastWeek)
    ->Unit(benchmark::kMillisecond);

void BM_CountYieldSinceReset(benchmark::State& state)
{
    Reader reader;
    for (auto _ : state)
        benchmark::DoNotOptimize(CountYieldSinceReset(reader.db(), {}));
}
BENCHMARK(BM_CountYieldSinceReset)->Unit(benchmark::kMillisecond);

void BM_RecentUnits(benchmark::State& state)
{
    Reader reader;
    for (auto _ : state)
        benchmark::DoNotOptimize(RecentUnits(reader.db(), {}, 100));
}
BENCHMARK(BM_RecentUnits)->Unit(benchmark::kMillisecond);

void BM_ReferenceNames(benchmark::State& state)
{
    Reader reader;
    for (auto _ : state)
        benchmark::DoNotOptimize(ReferenceNames(reader.db()));
}
BENCHMARK(BM_ReferenceNames)->Unit(benchmark::kMillisecond);

// The results window as the menu item opens it on the station's file of a
// million records: built, read (count, first page, both yields, chart,
// reference names) and painted.
class NoDialogs : public FileDialogs {
public:
    std::optional<QString> OpenFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> SaveFile(const FileDialogRequest&) override { return std::nullopt; }
    void Error(const QString&) override {}
};

void BM_OpenResultsWindow(benchmark::State& state)
{
    // The program's configuration in a folder of the benchmark's own, naming
    // the million-record file as the station's file.
    const std::string config = TempPath("qlx-results-bench-config");
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    ResultsSettings settings;
    settings.databasePath = Million();
    {
        auto file = OpenProgramSettings();
        SaveResultsSettings(*file, settings);
    }
    ResultsRecorder recorder(CheckSqlDrivers());
    Settings programSettings;
    NoDialogs dialogs;
    int rows = 0;
    for (auto _ : state) {
        ResultsWindow window(recorder, programSettings, dialogs);
        window.ShowModeless();
        QCoreApplication::processEvents();
        rows = window.model() ? window.model()->rowCount() : 0;
    }
    state.counters["rows"] = rows;
    fs::remove_all(config);
}
BENCHMARK(BM_OpenResultsWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
