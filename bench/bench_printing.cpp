// Printing every maxim of a 147-maxim topic into a document, against building the same document
// directly with QTextCursor.
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
// heading at 18 points, every maxim after the first on a new page.
void buildDirectly(QTextDocument& doc, const PrintedText& p)
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
    for (int i = 0; i < p.lines.size(); ++i) {
        if (i > 0) c.insertBlock(newPage, normal);
        c.insertText(p.lines[i], normal);
        c.insertBlock(justified, normal);
        c.insertText(p.texts[i], normal);
    }
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

void BM_DirectBuild(benchmark::State& state)
{
    const PrintedText p = expectedText();
    for (auto _ : state) {
        QTextDocument doc;
        buildDirectly(doc, p);
        benchmark::DoNotOptimize(doc.blockCount());
    }
}

// Both builds must give the same text, or the comparison means nothing.
bool sameDocuments()
{
    ArchiveWindow* w = window();
    chooseTopic(w);
    w->stampatutte_Click();
    const QTextDocument* printed = WordOut::currentDoc()->text();
    QTextDocument direct;
    buildDirectly(direct, expectedText());
    const bool same = printed->toPlainText() == direct.toPlainText() && printed->blockCount() == direct.blockCount();
    std::printf("documents compared: %d and %d paragraphs, %s\n", printed->blockCount(), direct.blockCount(),
                same ? "same text" : "DIFFERENT TEXT");
    dropDocuments();
    return same;
}
} // namespace

BENCHMARK(BM_PrintTopic)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_PrintTopicShown)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_DirectBuild)->Unit(benchmark::kMillisecond)->MinTime(1.0);

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
    return RunWithRatios(argc, argv, {{"printing 147 maxims vs direct QTextCursor build", "BM_PrintTopic", "BM_DirectBuild", 1.5},
                          {"the same print shown in its document window vs direct build", "BM_PrintTopicShown", "BM_DirectBuild", 0}});
}
