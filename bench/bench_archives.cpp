// The archive menu's load of the seven archives, against decoding the same bytes from UTF-8.
#include "BenchSupport.h"
#include "Fixture.h"
#include "archives/ArchiveData.h"
#include "archives/ArchiveDefinition.h"
#include "platform/Forms.h"
#include <QApplication>

namespace {
QByteArray allBytes()
{
    QByteArray b;
    for (const ArchiveDefinition& a : Archives::all()) b += ArchiveData::bytesFor(a.name());
    return b;
}

void BM_DecodeUtf8(benchmark::State& state)
{
    const QByteArray bytes = allBytes();
    for (auto _ : state) {
        QString s = QString::fromUtf8(bytes);
        benchmark::DoNotOptimize(s.constData());
    }
    state.counters["bytes"] = double(bytes.size());
}

void BM_MenuLoad(benchmark::State& state)
{
    for (auto _ : state) {
        Forms::instance().ref(QStringLiteral("scelta"));
        state.PauseTiming();
        Forms::instance().unloadAll();
        FlushDeletes();
        state.ResumeTiming();
    }
}

void BM_ArchiveContentOnly(benchmark::State& state)
{
    // The content part of the seven loads: reading the data into the tables and counting.
    for (auto _ : state) {
        for (const ArchiveDefinition& a : Archives::all()) {
            const ParsedArchive p = ArchiveData::parse(ArchiveData::bytesFor(a.name()));
            benchmark::DoNotOptimize(p.topics.data());
        }
    }
}
} // namespace

BENCHMARK(BM_DecodeUtf8)->Unit(benchmark::kMillisecond)->MinTime(MinSeconds(0.5));
BENCHMARK(BM_MenuLoad)->Unit(benchmark::kMillisecond)->MinTime(MinSeconds(1.0));
BENCHMARK(BM_ArchiveContentOnly)->Unit(benchmark::kMillisecond)->MinTime(MinSeconds(0.5));

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ProgramFixture fx;
    ModNorvelia::InitSharedState();
    InstallFullSizeData();
    return RunWithRatios(argc, argv,
                         {{"loading the seven archives' content vs UTF-8 decode", "BM_ArchiveContentOnly", "BM_DecodeUtf8", 8.0},
                          {"whole menu load, seven windows built, vs UTF-8 decode", "BM_MenuLoad", "BM_DecodeUtf8", 0}});
}
