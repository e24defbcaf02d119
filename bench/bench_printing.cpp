// Printing every maxim of a 147-maxim topic into a document, against building the same document
// directly with QTextCursor. The same print typed ten times over (1,470 maxims) shows how the cost
// grows with the length; showing the document in its window is measured beside, for information.
#include "BenchSupport.h"
#include "Fixture.h"
#include "archives/ArchiveContent.h"
#include "archives/ArchiveData.h"
#include "archives/ArchiveDefinition.h"
#include "archives/ArchiveWindow.h"
#include "platform/Forms.h"
#include "wordout/DocumentWindow.h"
#include "wordout/WordApplication.h"
#include "wordout/WordDocument.h"
#include "wordout/WordOut.h"
#include <QApplication>
#include <QListWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdio>

namespace {
const QString kArchive = QStringLiteral("edilizia");
constexpr int kTopic = 29;
constexpr int kMaxims = 147;

ArchiveWindow* window()
{
    return Forms::instance().ref<ArchiveWindow>(kArchive);
}

void chooseTopic(ArchiveWindow* w)
{
    w->List1()->setCurrentRow(-1);
    w->List1()->setCurrentRow(kTopic - 1);
}

void dropDocuments()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<DocumentWindow*>(w)) {
            if (d->document()) d->document()->text()->setModified(false);
            d->close();
        }
    for (WordApplication* a : WordApplication::instances()) delete a;
    FlushDeletes();
}

// What the print puts in the document, read back from the window's own content so that both builds
// type the same characters.
struct PrintedText {
    QString heading, family;
    QStringList lines, texts;
};

PrintedText expectedText()
{
    ArchiveWindow* w = window();
    const ArchiveDefinition& def = w->definition();
    PrintedText p;
    p.heading = ArchiveWindow::PrintHeading();
    p.family = QStringLiteral("Century Gothic");
    const QString prefix = QString::fromUtf8(def.maximLinePrefix);
    for (int k = 1; k <= kMaxims; ++k) {
        p.lines << prefix + w->content().TopicTitles(kTopic) + QStringLiteral("    n.") + QString::number(k);
        p.texts << w->content().MaximTexts(kTopic, k);
    }
    return p;
}

// The document a careful hand-written build would make: justified paragraphs from the start, the
// heading at 18 points, every maxim after the first on a new page; `times` the topic over.
void buildDirectly(QTextDocument& doc, const PrintedText& p, int times = 1)
{
    QTextCursor c(&doc);
    QTextBlockFormat justified;
    justified.setAlignment(Qt::AlignJustify);
    QTextBlockFormat newPage = justified;
    newPage.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    QTextCharFormat big, normal;
    big.setFontFamilies({p.family});
    big.setProperty(QTextFormat::FontFamily, p.family);
    big.setFontPointSize(18);
    normal = big;
    normal.setFontPointSize(12);
    c.setBlockFormat(justified);
    c.setBlockCharFormat(big);
    c.insertText(p.heading, big);
    c.insertBlock(justified, big);
    c.insertBlock(justified, normal);
    for (int r = 0; r < times; ++r)
        for (int i = 0; i < p.lines.size(); ++i) {
            if (r > 0 || i > 0) c.insertBlock(newPage, normal);
            c.insertText(p.lines[i], normal);
            c.insertBlock(justified, normal);
            c.insertText(p.texts[i], normal);
        }
}

// The archive window's print, typed piece by piece through the same word-processor operations, with
// the topic `times` over: the print the window would make of a topic that long.
void typePrint(const PrintedText& p, int times)
{
    WordApplication* app = WordOut::StartDocument();
    WordSelection& sel = app->Selection();
    const QChar cr(13), ff(12);
    sel.setFontName(p.family);
    sel.setFontSize(18);
    sel.TypeText(p.heading + cr + cr);
    sel.setFontSize(12);
    for (int r = 0; r < times; ++r)
        for (int i = 0; i < p.lines.size(); ++i) {
            if (r > 0 || i > 0) sel.TypeText(QString(cr) + ff);
            sel.TypeText(p.lines[i] + cr);
            sel.TypeText(p.texts[i]);
        }
    sel.SelectDocument();
    sel.setAlignment(3);
    sel.release();
}

// Prints the whole topic once per iteration; with `shown` the document opens in its window, as the
// user gets it, and the window lays the text out as it arrives.
void printTopic(benchmark::State& state, bool shown)
{
    auto& platform = static_cast<ScriptedPlatform&>(Platform::current());
    platform.openRealDocumentWindows = shown;
    ArchiveWindow* w = window();
    for (auto _ : state) {
        state.PauseTiming();
        dropDocuments();
        chooseTopic(w);
        state.ResumeTiming();
        w->stampatutte_Click();
        if (shown) QCoreApplication::processEvents();
        benchmark::DoNotOptimize(WordOut::currentDoc());
    }
    dropDocuments();
    platform.openRealDocumentWindows = false;
}

void BM_PrintTopic(benchmark::State& state) { printTopic(state, false); }
void BM_PrintTopicShown(benchmark::State& state) { printTopic(state, true); }

// The typed print at range(0) times the topic; with range(1) the document is shown in its window.
void BM_PrintTyped(benchmark::State& state)
{
    const int times = int(state.range(0));
    const bool shown = state.range(1) != 0;
    auto& platform = static_cast<ScriptedPlatform&>(Platform::current());
    platform.openRealDocumentWindows = shown;
    const PrintedText p = expectedText();
    for (auto _ : state) {
        state.PauseTiming();
        dropDocuments();
        state.ResumeTiming();
        typePrint(p, times);
        if (shown) QCoreApplication::processEvents();
        benchmark::DoNotOptimize(WordOut::currentDoc());
    }
    dropDocuments();
    platform.openRealDocumentWindows = false;
}

void BM_DirectBuild(benchmark::State& state)
{
    const PrintedText p = expectedText();
    const int times = int(state.range(0));
    for (auto _ : state) {
        QTextDocument doc;
        buildDirectly(doc, p, times);
        benchmark::DoNotOptimize(doc.blockCount());
    }
}

// Both builds must give the same text, or the comparison means nothing.
bool sameDocuments()
{
    ArchiveWindow* w = window();
    chooseTopic(w);
    w->stampatutte_Click();
    const QString printed = WordOut::currentDoc()->text()->toPlainText();
    const int printedBlocks = WordOut::currentDoc()->text()->blockCount();
    QTextDocument direct;
    buildDirectly(direct, expectedText());
    dropDocuments();
    typePrint(expectedText(), 1);
    const QString typed = WordOut::currentDoc()->text()->toPlainText();
    const bool same = printed == direct.toPlainText() && printedBlocks == direct.blockCount() && typed == printed;
    std::printf("documents compared: %d and %d paragraphs, %s\n", printedBlocks, direct.blockCount(),
                same ? "same text" : "DIFFERENT TEXT");
    dropDocuments();
    return same;
}
} // namespace

BENCHMARK(BM_PrintTopic)->Unit(benchmark::kMillisecond)->MinTime(MinSeconds(1.0));
BENCHMARK(BM_PrintTopicShown)->Unit(benchmark::kMillisecond)->MinTime(MinSeconds(1.0));
BENCHMARK(BM_DirectBuild)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->MinTime(MinSeconds(1.0));
BENCHMARK(BM_PrintTyped)->Args({1, 0})->Args({10, 0})->Args({10, 1})->Unit(benchmark::kMillisecond)->MinTime(MinSeconds(1.0));

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ProgramFixture fx;
    ModNorvelia::InitSharedState();
    // The compiled archive when its topic is complete, else a topic of that size made for the run.
    if (window()->content().CountTopicMaxims(kTopic) != kMaxims) {
        Forms::instance().unloadAll();
        FlushDeletes();
        InstallFullSizeData();
    }
    if (!sameDocuments()) return 1;
    return RunWithRatios(argc, argv,
                         {{"printing 147 maxims vs direct QTextCursor build", "BM_PrintTopic", "BM_DirectBuild/1", 1.5},
                          {"printing 1,470 maxims (the topic ten times) vs the print of 147", "BM_PrintTyped/10/0", "BM_PrintTopic", 11},
                          {"the same, typed alike at both lengths (1,470 vs 147)", "BM_PrintTyped/10/0", "BM_PrintTyped/1/0", 0},
                          {"printing 1,470 maxims vs direct build of 1,470", "BM_PrintTyped/10/0", "BM_DirectBuild/10", 0},
                          {"147 maxims printed and shown in the document window vs direct build", "BM_PrintTopicShown", "BM_DirectBuild/1", 0},
                          {"1,470 maxims printed and shown in the document window vs direct build", "BM_PrintTyped/10/1", "BM_DirectBuild/10", 0}});
}
