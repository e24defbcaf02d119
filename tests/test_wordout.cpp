// The word-processor layer: typing, fonts, breaks, alignment, tables, saving in each format and
// reading the files back, and the document window.
#include "DocReaders.h"
#include "Fixture.h"
#include "archives/ArchiveWindow.h"
#include "help/sommario.h"
#include "platform/QtPlatform.h"
#include "platform/ScreenFit.h"
#include "wordout/DocumentWindow.h"
#include "wordout/PageLayout.h"
#include "wordout/PageView.h"
#include "wordout/RtfWriter.h"
#include "wordout/WordApplication.h"
#include "wordout/WordDocument.h"
#include "wordout/WordOut.h"
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QDirIterator>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextTable>
#include <QtTest>

namespace {
// A document as the prints build them: heading at 18, two paragraphs at 12 on two pages, justified.
WordDocument* buildSample(WordApplication& app)
{
    app.setVisible(true);
    WordDocument* doc = app.DocumentsAdd();
    WordSelection& s = app.Selection();
    s.setFontName(QStringLiteral("Century Gothic"));
    s.setFontSize(18);
    s.TypeText(QStringLiteral("Titolo\r\r"));
    s.setFontSize(12);
    s.TypeText(QStringLiteral("Primo paragrafo con à è é ì ò ù, «virgolette» e ‘apici’.\r\x0c"));
    s.TypeText(QStringLiteral("Secondo paragrafo, pagina nuova."));
    s.SelectDocument();
    s.setAlignment(3);
    s.release();
    return doc;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Page objects of a PDF, written with or without a blank after the key.
int pdfPages(const QByteArray& pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![A-Za-z])"));
    int n = 0;
    for (auto it = page.globalMatch(QString::fromLatin1(pdf)); it.hasNext(); it.next()) ++n;
    return n;
}

// The page count poppler reads from a PDF file; -1 when it cannot.
int pdfinfoPages(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return -1;
    const auto m = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption).match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Long justified paragraphs, a page break and a table: text that wraps and fills more than a page.
WordDocument* buildLongSample(WordApplication& app)
{
    WordDocument* doc = app.DocumentsAdd();
    WordSelection& s = app.Selection();
    s.setFontName(QStringLiteral("Century Gothic"));
    s.setFontSize(12);
    const QString sentence = QStringLiteral("Il condominio risponde dei danni cagionati dalle parti comuni dell'edificio, salvo il caso fortuito; "
                                            "l'amministratore deve provvedere alla loro conservazione. ");
    for (int i = 0; i < 14; ++i) s.TypeText(QStringLiteral("%1. ").arg(i + 1) + sentence.repeated(1 + i % 4) + QChar(13));
    s.TypeText(QString(QChar(12)) + QStringLiteral("Pagina nuova.") + QChar(13));
    s.SelectDocument();
    s.setAlignment(3);
    s.release();
    WordTable* t = doc->addTableAtEnd(3, 5);
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 5; ++c) t->setCellText(r, c, QStringLiteral("cella %1 %2 ").arg(r).arg(c).repeated(3));
    return doc;
}

// Where each line of the document breaks and how many pages it fills, with the screen's resolution
// first.
QString layoutFingerprint(const QTextDocument* doc)
{
    QStringList out{QStringLiteral("dpi %1").arg(QGuiApplication::primaryScreen()->logicalDotsPerInchY())};
    out << QStringLiteral("pages %1").arg(PageLayout::pageCount(doc));
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        QStringList lines;
        for (int i = 0; i < b.layout()->lineCount(); ++i) lines << QString::number(b.layout()->lineAt(i).textStart());
        out << lines.join(QLatin1Char(' '));
    }
    return out.join(QLatin1Char('\n'));
}

QString offscreenConfig(const QString& folder, int dpi, QSize size = QSize(1600, 1200))
{
    const QString path = QDir(folder).filePath(QStringLiteral("screen%1-%2x%3.json").arg(dpi).arg(size.width()).arg(size.height()));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return QString();
    f.write(QStringLiteral(R"({"screens": [{"name": "s", "x": 0, "y": 0, "width": %2, "height": %3, "logicalDpi": %1, "logicalBaseDpi": 96, "dpr": 1}]})")
                .arg(dpi).arg(size.width()).arg(size.height()).toUtf8());
    return path;
}
} // namespace

class TestWordOut : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFixture> fx;

private slots:
    void init() { fx = std::make_unique<ProgramFixture>(); }
    void cleanup()
    {
        for (WordApplication* a : WordApplication::instances()) delete a;
        fx.reset();
    }

    void typingBuildsParagraphsAndPages()
    {
        WordApplication app;
        WordDocument* doc = buildSample(app);
        QTextDocument* d = doc->text();
        QCOMPARE(d->blockCount(), 4);
        QTextBlock b = d->begin();
        QCOMPARE(b.text(), QStringLiteral("Titolo"));
        QCOMPARE(b.begin().fragment().charFormat().fontPointSize(), 18.0);
        b = b.next();
        QCOMPARE(b.text(), QString());
        QCOMPARE(b.charFormat().fontPointSize(), 18.0);   // an empty paragraph keeps the size in force
        b = b.next();
        QCOMPARE(b.begin().fragment().charFormat().fontPointSize(), 12.0);
        QCOMPARE(b.begin().fragment().charFormat().fontFamilies().toStringList().value(0), QStringLiteral("Century Gothic"));
        b = b.next();
        QVERIFY(b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
        QCOMPARE(b.text(), QStringLiteral("Secondo paragrafo, pagina nuova."));
        for (QTextBlock x = d->begin(); x.isValid(); x = x.next()) QCOMPARE(x.blockFormat().alignment(), Qt::AlignJustify);
        QVERIFY(!doc->isModified());   // built by the program, not changed by the user
        QCOMPARE(app.DocumentsCount(), 1);
        QCOMPARE(app.DocumentsItem(1), doc);
        QVERIFY(!app.DocumentsItem(2));
        QCOMPARE(fx->platform().shownDocuments.size(), 1);
    }

    void pageBreakInsideAParagraphStartsANewOne()
    {
        WordApplication app;
        app.DocumentsAdd();
        app.Selection().TypeText(QStringLiteral("uno\x0c" "due"));
        QTextDocument* d = app.DocumentsItem(1)->text();
        QCOMPARE(d->blockCount(), 2);
        QVERIFY(d->lastBlock().blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
        QCOMPARE(d->lastBlock().text(), QStringLiteral("due"));
    }

    void invisibleApplicationShowsItsDocumentsWhenMadeVisible()
    {
        WordApplication app;
        app.DocumentsAdd();
        QVERIFY(fx->platform().shownDocuments.isEmpty());
        app.setVisible(true);
        QCOMPARE(fx->platform().shownDocuments.size(), 1);
    }

    void tablesWithRightAlignedColumns()
    {
        WordApplication app;
        WordDocument* doc = app.DocumentsAdd();
        app.Selection().TypeText(QStringLiteral("Listino\r"));
        doc->addParagraphAtEnd();
        WordTable* t = doc->addTableAtEnd(3, 5);
        QVERIFY(t);
        t->setFontSize(8);
        QVERIFY(t->setCellText(1, 1, QStringLiteral("numero")));
        QVERIFY(t->setCellText(2, 4, QStringLiteral("1.234,50")));
        QVERIFY(!t->setCellText(4, 1, QStringLiteral("fuori")));
        t->AutoFormat(9);
        app.Selection().SelectColumn(doc->Tables(1), 4);
        app.Selection().setAlignment(2);
        QCOMPARE(t->cellText(2, 4), QStringLiteral("1.234,50"));
        QTextTable* qt = t->table();
        QCOMPARE(qt->cellAt(1, 3).firstCursorPosition().blockFormat().alignment(), Qt::AlignRight);
        QVERIFY(qt->cellAt(1, 2).firstCursorPosition().blockFormat().alignment() != Qt::AlignRight);
        QCOMPARE(qt->cellAt(1, 3).firstCursorPosition().charFormat().fontPointSize(), 8.0);
        QCOMPARE(qt->cellAt(0, 0).format().background().color(), QColor(31, 73, 125));
        QVERIFY(qt->cellAt(1, 0).format().background().color() != qt->cellAt(2, 0).format().background().color());
        QCOMPARE(doc->tableCount(), 1);
    }

    void savesWordCompatibleRtf()
    {
        QTemporaryDir dir;
        WordApplication app;
        WordDocument* doc = buildSample(app);
        const QString path = dir.filePath(QStringLiteral("prova.doc"));
        QVERIFY(doc->SaveAs(path));
        QCOMPARE(doc->Name(), QStringLiteral("prova.doc"));
        const RtfDocument r = ReadRtf(readFile(path));
        QVERIFY(r.ok);
        QVERIFY(r.fonts.contains(QStringLiteral("Century Gothic")));
        QCOMPARE(r.paragraphs.size(), 4);
        QCOMPARE(r.paragraphs[0].text, QStringLiteral("Titolo"));
        QCOMPARE(r.paragraphs[0].runs[0].size, 18.0);
        QCOMPARE(r.paragraphs[0].runs[0].font, QStringLiteral("Century Gothic"));
        QCOMPARE(r.paragraphs[1].markSize, 18.0);
        QCOMPARE(r.paragraphs[2].text, QStringLiteral("Primo paragrafo con à è é ì ò ù, «virgolette» e ‘apici’."));
        QCOMPARE(r.paragraphs[2].runs[0].size, 12.0);
        QVERIFY(!r.paragraphs[2].pageBreakBefore);
        QVERIFY(r.paragraphs[3].pageBreakBefore);
        for (const RtfParagraph& p : r.paragraphs) QCOMPARE(p.align, 'j');
    }

    void rtfTablesAndEscapes()
    {
        QTextDocument d;
        QTextCursor c(&d);
        c.insertText(QStringLiteral("a {b} c\\d\tè"));
        QTextTable* t = c.insertTable(2, 2);
        t->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("x"));
        QBuffer buf;
        buf.open(QIODevice::WriteOnly);
        QVERIFY(RtfWriter::write(d, &buf));
        const RtfDocument r = ReadRtf(buf.data());
        QCOMPARE(r.paragraphs[0].text, QStringLiteral("a {b} c\\d\tè"));
        QCOMPARE(r.rows, 2);
        QCOMPARE(r.paragraphs[2].text, QStringLiteral("x"));
        QVERIFY(r.paragraphs[2].inTable);
    }

    void savesOpenDocumentWithTheFontName()
    {
        QTemporaryDir dir;
        WordApplication app;
        WordDocument* doc = buildSample(app);
        const QString path = dir.filePath(QStringLiteral("prova.odt"));
        QVERIFY(doc->SaveAs(path));
        const QByteArray content = ZipEntry(readFile(path), QStringLiteral("content.xml"));
        QVERIFY(!content.isEmpty());
        QVERIFY2(content.contains("Century Gothic"), content.left(600).constData());
        QVERIFY(content.contains("fo:font-size=\"18pt\""));
        QVERIFY(content.contains("fo:font-size=\"12pt\""));
        QVERIFY(content.contains("fo:text-align=\"justify\""));
        QVERIFY(content.contains("fo:break-before=\"page\""));
    }

    void savesPdf()
    {
        QTemporaryDir dir;
        WordApplication app;
        WordDocument* doc = buildSample(app);
        const QString path = dir.filePath(QStringLiteral("prova.pdf"));
        QVERIFY(doc->SaveAs(path));
        const QByteArray pdf = readFile(path);
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(pdfPages(pdf), 2);
    }

    void failedSaveKeepsTheEarlierFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("esistente.doc"));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("contenuto precedente");
        }
        WordApplication app;
        WordDocument* doc = buildSample(app);
        QString error;
        QVERIFY(!doc->SaveAs(dir.filePath(QStringLiteral("manca/esistente.doc")), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readFile(path), QByteArray("contenuto precedente"));
        QVERIFY(doc->FullName().isEmpty());
        // Writing over it succeeds atomically, leaving no stray file behind.
        QVERIFY(doc->SaveAs(path));
        QVERIFY(readFile(path).startsWith("{\\rtf1"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"esistente.doc"}));
    }

    void documentWindowAsksBeforeDiscardingChanges()
    {
        QTemporaryDir dir;
        WordApplication app;
        WordDocument* doc = buildSample(app);
        DocumentWindow* w = DocumentWindow::open(doc);
        QPointer<DocumentWindow> guard(w);
        QVERIFY(w->windowTitle().startsWith(doc->Name()));
        QCOMPARE(DocumentWindow::openCount(), 1);
        QTest::keyClicks(w->editor(), QStringLiteral("aggiunta"));
        QVERIFY(doc->isModified());
        fx->platform().answers.push_back(MsgAnswer::Cancel);
        QVERIFY(!w->close());
        QVERIFY(guard);
        QVERIFY(fx->platform().boxes.last().text.contains(doc->Name()));
        QCOMPARE(fx->platform().boxes.last().buttons, MsgButtons::YesNoCancel);
        // Yes, then the save dialog cancelled: still open.
        fx->platform().answers.push_back(MsgAnswer::Yes);
        QVERIFY(!w->close());
        QCOMPARE(fx->platform().saveTitles.size(), 1);
        // Yes with a file name: saved and closed.
        const QString path = dir.filePath(QStringLiteral("salvato.odt"));
        fx->platform().answers.push_back(MsgAnswer::Yes);
        fx->platform().saveNames.push_back(path);
        QVERIFY(w->close());
        QVERIFY(QFile::exists(path));
        FlushDeletes();
        QVERIFY(!guard);
        QCOMPARE(DocumentWindow::openCount(), 0);
        QCOMPARE(app.DocumentsCount(), 0);
    }

    void documentWindowReportsAFailedSave()
    {
        WordApplication app;
        WordDocument* doc = buildSample(app);
        DocumentWindow* w = DocumentWindow::open(doc);
        fx->platform().saveNames.push_back(QStringLiteral("/nonexistent-dir/x.doc"));
        QVERIFY(!w->save());
        QCOMPARE(fx->platform().boxes.size(), 1);
        QVERIFY(fx->platform().boxes[0].text.startsWith(QStringLiteral("Impossibile salvare il documento")));
        QVERIFY(w->close());   // unchanged by the user: closes without asking
        QCOMPARE(fx->platform().boxes.size(), 1);
        FlushDeletes();
    }

    void linesWrapAlikeOnEveryScreen_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::newRow("96 dpi") << 96;
        QTest::newRow("120 dpi") << 120;
        QTest::newRow("144 dpi") << 144;
    }
    void linesWrapAlikeOnEveryScreen()
    {
        QFETCH(int, dpi);
        WordApplication app;
        const QString here = layoutFingerprint(buildLongSample(app)->text());
        // The same document laid out by this program on a screen of another resolution.
        QTemporaryDir dir;
        QProcess p;
        // Scaled by the screen's own resolution, not by Qt's pixel ratio.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_ENABLE_HIGHDPI_SCALING"), QStringLiteral("0"));
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--layout-fingerprint"), QStringLiteral("-platform"), QStringLiteral("offscreen:configfile=") + offscreenConfig(dir.path(), dpi)});
        QVERIFY(p.waitForFinished(60000));
        const QStringList there = QString::fromUtf8(p.readAllStandardOutput()).trimmed().split(QLatin1Char('\n'));
        QCOMPARE(there.value(0), QStringLiteral("dpi %1").arg(dpi));
        QCOMPARE(there.mid(1), here.split(QLatin1Char('\n')).mid(1));
    }

    void pagesAreThePrintedPages()
    {
        QTemporaryDir dir;
        WordApplication app;
        WordDocument* doc = buildLongSample(app);
        const QTextDocument* d = doc->text();
        const int pages = PageLayout::pageCount(d);
        QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
        // Every line stands within the printed margins of a sheet.
        const QMarginsF m = PageLayout::margins();
        const QSizeF paper = PageLayout::paperSize();
        int wrapped = 0;
        for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) {
            const QRectF box = d->documentLayout()->blockBoundingRect(b);
            for (int i = 0; i < b.layout()->lineCount(); ++i) {
                const QTextLine line = b.layout()->lineAt(i);
                const QRectF r = line.naturalTextRect().translated(box.topLeft());
                const QRectF sheet = PageLayout::sheet(PageLayout::sheetAt(d, r.top()));
                QVERIFY(r.left() >= m.left() - 0.5 && r.right() <= paper.width() - m.right() + 0.5);
                QVERIFY2(r.top() >= sheet.top() + m.top() - 0.5 && r.bottom() <= sheet.bottom() - m.bottom() + 0.5,
                         qPrintable(QStringLiteral("%1 in %2").arg(r.top()).arg(sheet.top())));
            }
            wrapped += b.layout()->lineCount() > 1;
        }
        QVERIFY(wrapped >= 10);
        // The page break starts a sheet of its own.
        QTextBlock broken = d->begin();
        while (!(broken.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)) broken = broken.next();
        const double top = d->documentLayout()->blockBoundingRect(broken).top();
        QVERIFY(qAbs(top - (PageLayout::sheet(PageLayout::sheetAt(d, top)).top() + m.top())) < 0.1);
        // The saved PDF has the same pages.
        const QString path = dir.filePath(QStringLiteral("pagine.pdf"));
        QVERIFY(doc->SaveAs(path));
        QCOMPARE(pdfPages(readFile(path)), pages);
    }

    void documentWindowShowsPagesAndZooms()
    {
        WordApplication app;
        WordDocument* doc = buildLongSample(app);
        DocumentWindow* w = DocumentWindow::open(doc);
        PageView* v = w->editor();
        const int pages = PageLayout::pageCount(doc->text());
        const QString count = QStringLiteral(" di %1").arg(pages);
        QCOMPARE(w->pageLabel()->text(), QStringLiteral("Pagina 1") + count);
        // Opens fitting the page's width: no horizontal scrolling, the sheet across the window.
        QCOMPARE(v->fit(), PageView::Fit::Width);
        QCOMPARE(v->horizontalScrollBar()->maximum(), 0);
        const QRect sheet = v->mapFromScene(PageLayout::sheet(0)).boundingRect();
        QVERIFY(sheet.width() > v->viewport()->width() * 0.9 && sheet.width() <= v->viewport()->width());
        // Zoom steps by the menu and by Ctrl with the wheel.
        w->findChild<QAction*>(QStringLiteral("zoomReale"))->trigger();
        QCOMPARE(v->zoom(), 1.0);
        QCOMPARE(v->transform().m11(), v->logicalDpiX() / PageLayout::Dpi);
        w->findChild<QAction*>(QStringLiteral("zoomAvanti"))->trigger();
        QCOMPARE(v->zoom(), 1.25);
        w->findChild<QAction*>(QStringLiteral("zoomIndietro"))->trigger();
        w->findChild<QAction*>(QStringLiteral("zoomIndietro"))->trigger();
        QCOMPARE(v->zoom(), 0.9);
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("zoom"))->text(), QStringLiteral("90%"));
        QWheelEvent up(QPointF(50, 50), v->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                       Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(v->viewport(), &up);
        QCOMPARE(v->zoom(), 1.0);
        // The whole page in the window, then the last page in view.
        w->findChild<QAction*>(QStringLiteral("paginaIntera"))->trigger();
        const QRect whole = v->mapFromScene(PageLayout::sheet(0)).boundingRect();
        QVERIFY(v->viewport()->rect().adjusted(-1, -1, 1, 1).contains(whole));
        v->verticalScrollBar()->setValue(v->verticalScrollBar()->maximum());
        QCOMPARE(w->pageLabel()->text(), QStringLiteral("Pagina %1").arg(pages) + count);
        // Editing goes into the same document, and the page count follows it.
        QTextCursor end(doc->text());
        end.movePosition(QTextCursor::End);
        v->textItem()->setTextCursor(end);
        QTest::keyClicks(v, QStringLiteral("fine"));
        QVERIFY(doc->text()->toPlainText().endsWith(QStringLiteral("fine")));
        for (int i = 0; i < 60; ++i) QTest::keyClick(v, Qt::Key_Return);
        QCOMPARE(w->pageLabel()->text().section(QLatin1Char(' '), 3), QString::number(pages + 1));
        w->findChild<QAction*>(QStringLiteral("annulla"))->trigger();
        QVERIFY(doc->isModified());
        doc->text()->setModified(false);
        QVERIFY(w->close());
        FlushDeletes();
    }

    void printIntoAShownDocumentLaysItsPagesOutOnce()
    {
        // A print types into a document already in its window. Laying the pages out after every piece
        // made the cost grow with the square of the length; they are laid out once the print is over.
        fx->platform().openRealDocumentWindows = true;
        WordApplication app;
        app.setVisible(true);
        WordDocument* doc = app.DocumentsAdd();
        QVERIFY(doc);
        DocumentWindow* w = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<DocumentWindow*>(top); d && d->document() == doc) w = d;
        QVERIFY(w);
        int layouts = 0;
        connect(doc->text()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this, [&layouts] { ++layouts; });
        WordSelection& s = app.Selection();
        const QString sentence = QStringLiteral("L'amministratore deve provvedere alla conservazione delle parti comuni dell'edificio. ");
        for (int i = 0; i < 30; ++i) {
            if (i > 0) s.TypeText(QString(QChar(13)) + QChar(12));
            s.TypeText(QStringLiteral("Massima n.%1").arg(i + 1) + QChar(13));
            s.TypeText(sentence.repeated(6));
        }
        QCOMPARE(layouts, 0);
        QCoreApplication::processEvents();
        QVERIFY(layouts > 0);
        QCOMPARE(PageLayout::pageCount(doc->text()), 30);
        QCOMPARE(w->pageLabel()->text(), QStringLiteral("Pagina 1 di 30"));
        // Asked for before the event loop, the pages are there at once, and later writing holds them again.
        s.TypeText(QString(QChar(13)) + QChar(12) + QStringLiteral("Ultima."));
        QCOMPARE(PageLayout::pageCount(doc->text()), 31);
        layouts = 0;
        s.TypeText(QString(QChar(13)) + QChar(12) + QStringLiteral("Ancora una."));
        QCOMPARE(layouts, 0);
        QCoreApplication::processEvents();
        QCOMPARE(w->pageLabel()->text(), QStringLiteral("Pagina 1 di 32"));
        QVERIFY(w->close());
        FlushDeletes();
    }

    void documentWindowFitsTheScreen_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QString>("scale");
        QTest::addColumn<bool>("wholeSize");   // the window's usual size fits
        QTest::newRow("1280x800 at 1.5") << QSize(1280, 800) << "1.5" << false;
        QTest::newRow("1024x600 at 1") << QSize(1024, 600) << "1" << false;
        QTest::newRow("1920x1080 at 1") << QSize(1920, 1080) << "1" << true;
    }
    void documentWindowFitsTheScreen()
    {
        // The program on a screen of that size and scale opens a document and tells the window's size and
        // the screen's free area, in the screen's own units.
        QFETCH(QSize, screen);
        QFETCH(QString, scale);
        QFETCH(bool, wholeSize);
        QTemporaryDir dir;
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), scale);
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--document-window-size"), QStringLiteral("-platform"), QStringLiteral("offscreen:configfile=") + offscreenConfig(dir.path(), 96, screen)});
        QVERIFY(p.waitForFinished(60000));
        const QStringList n = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QCOMPARE(n.size(), 6);
        const QSize window(n[0].toInt(), n[1].toInt());
        const QRect free(n[2].toInt(), n[3].toInt(), n[4].toInt(), n[5].toInt());
        QVERIFY2(ScreenFit::usable(free).width() >= window.width() && ScreenFit::usable(free).height() >= window.height(),
                 qPrintable(n.join(QLatin1Char(' '))));
        if (wholeSize) QCOMPARE(window, QSize(860, 700));
        else QVERIFY(window.width() >= ScreenFit::usable(free).width() - 1 || window.height() >= ScreenFit::usable(free).height() - 1);
    }

    void documentGoingAwayLeavesItsWindowUsable()
    {
        auto* app = new WordApplication;
        DocumentWindow* w = DocumentWindow::open(buildSample(*app));
        delete app;
        QVERIFY(!w->document());
        QTest::keyClicks(w->editor(), QStringLiteral("ancora"));
        w->editor()->viewport()->grab();
        w->editor()->zoomIn();
        QVERIFY(w->close());
        FlushDeletes();
        QCOMPARE(DocumentWindow::openCount(), 0);
    }

    void saveAsKeepsATypedKnownTypeElseTheFilters_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QByteArray>("start");
        // Filters: 0 Word, 1 OpenDocument, 2 PDF.
        QTest::newRow("no extension, Word") << "senza" << 0 << "senza.doc" << QByteArray("{\\rtf1");
        QTest::newRow("no extension, OpenDocument") << "senza" << 1 << "senza.odt" << QByteArray("PK");
        QTest::newRow("no extension, PDF") << "senza" << 2 << "senza.pdf" << QByteArray("%PDF");
        QTest::newRow("its own extension, PDF") << "stampa.PDF" << 2 << "stampa.PDF" << QByteArray("%PDF");
        QTest::newRow("typed .pdf, OpenDocument filter") << "revoca.pdf" << 1 << "revoca.pdf" << QByteArray("%PDF");
        QTest::newRow("typed .odt, Word filter") << "revoca.odt" << 0 << "revoca.odt" << QByteArray("PK");
        QTest::newRow("typed .doc, PDF filter") << "lettera.doc" << 2 << "lettera.doc" << QByteArray("{\\rtf1");
        QTest::newRow("typed .rtf, OpenDocument filter") << "lettera.rtf" << 1 << "lettera.rtf" << QByteArray("{\\rtf1");
        QTest::newRow("typed .RTF, PDF filter") << "LETTERA.RTF" << 2 << "LETTERA.RTF" << QByteArray("{\\rtf1");
        QTest::newRow("unknown extension, PDF") << "verbale.txt" << 2 << "verbale.txt.pdf" << QByteArray("%PDF");
        QTest::newRow("a dot in the name, OpenDocument") << "sentenza 3.2001" << 1 << "sentenza 3.2001.odt" << QByteArray("PK");
    }
    void saveAsKeepsATypedKnownTypeElseTheFilters()
    {
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QFETCH(QString, saved);
        QFETCH(QByteArray, start);
        QTemporaryDir dir;
        WordApplication app;
        WordDocument* doc = buildSample(app);
        DocumentWindow* w = DocumentWindow::open(doc);
        fx->platform().saveNames.push_back(dir.filePath(typed));
        fx->platform().saveFilters.push_back(filter);
        QVERIFY(w->saveAs());
        QCOMPARE(fx->platform().saveFilterLists.last(), WordDocument::fileFilters());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{saved});
        QVERIFY(readFile(dir.filePath(saved)).startsWith(start));
        QCOMPARE(doc->Name(), saved);
        QVERIFY(w->close());
        FlushDeletes();
    }

    void openInWordProcessor_data()
    {
        QTest::addColumn<int>("shell");
        QTest::newRow("opened") << 42;
        QTest::newRow("nothing can open it") << 31;
    }
    void openInWordProcessor()
    {
        QFETCH(int, shell);
        QTemporaryDir tmp;
        const QByteArray previous = qgetenv("TMPDIR");
        qputenv("TMPDIR", tmp.path().toLocal8Bit());
        WordApplication app;
        WordDocument* doc = buildSample(app);
        DocumentWindow* w = DocumentWindow::open(doc);
        fx->platform().shellResult = shell;
        w->findChild<QAction*>(QStringLiteral("apriConElaboratore"))->trigger();
        if (previous.isEmpty()) qunsetenv("TMPDIR");
        else qputenv("TMPDIR", previous);
        QCOMPARE(fx->platform().shellTargets.size(), 1);
        const QString target = fx->platform().shellTargets[0];
        QCOMPARE(QFileInfo(target).absolutePath(), QFileInfo(tmp.path()).absoluteFilePath());
        QVERIFY(target.endsWith(QStringLiteral(".odt")));
        QVERIFY(ZipEntry(readFile(target), QStringLiteral("content.xml")).contains("Secondo paragrafo, pagina nuova."));
        QVERIFY(doc->FullName().isEmpty());   // a copy: the document keeps its own name
        if (shell > 32) {
            QVERIFY(fx->platform().boxes.isEmpty());
        } else {
            QCOMPARE(fx->platform().boxes.size(), 1);
            QVERIFY(fx->platform().boxes[0].text.startsWith(QStringLiteral("Nessun elaboratore di testi ha potuto aprire il documento")));
            QVERIFY(fx->platform().boxes[0].text.contains(QDir::toNativeSeparators(target)));
        }
        QVERIFY(w->close());
        FlushDeletes();
    }

    void rtfTableStaysWithinTheMargins()
    {
        QTemporaryDir dir;
        WordApplication app;
        WordDocument* doc = buildLongSample(app);
        const QString path = dir.filePath(QStringLiteral("tabella.doc"));
        QVERIFY(doc->SaveAs(path));
        const RtfDocument r = ReadRtf(readFile(path));
        QCOMPARE(r.rows, 3);
        QCOMPARE(r.paperWidth, 11906);
        QCOMPARE(r.tableLeft, 0);
        QCOMPARE(r.tableRight, r.paperWidth - r.marginLeft - r.marginRight);
    }

    void platformHostsDocumentsItIsGiven()
    {
        WordApplication app;   // the word-processor layer hands its windows to the platform
        WordDocument* doc = app.DocumentsAdd();
        QtPlatform platform;
        QVERIFY(platform.showDocument(doc));
        QCOMPARE(DocumentWindow::openCount(), 1);
        QObject other;
        QVERIFY(!platform.showDocument(&other));
        const Platform::DocumentHost host = Platform::documentHost();
        Platform::setDocumentHost({});
        QVERIFY(!platform.showDocument(doc));
        Platform::setDocumentHost(host);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<DocumentWindow*>(w)) d->close();
        FlushDeletes();
        QCOMPARE(DocumentWindow::openCount(), 0);
    }

    void platformKnowsNothingAboveIt()
    {
        const QString source = qEnvironmentVariable("NORVELIA_SOURCE_DIR");
        QDirIterator it(source + QStringLiteral("/platform"), {QStringLiteral("*.h"), QStringLiteral("*.cpp")});
        static const QRegularExpression include(QStringLiteral("^#include \"([^\"]+)\""), QRegularExpression::MultilineOption);
        int files = 0;
        while (it.hasNext()) {
            const QString path = it.next();
            ++files;
            for (auto m = include.globalMatch(QString::fromUtf8(readFile(path))); m.hasNext();) {
                const QString header = m.next().captured(1);
                QVERIFY2(!header.contains(QLatin1Char('/')) || header.startsWith(QStringLiteral("platform/")),
                         qPrintable(QFileInfo(path).fileName() + QStringLiteral(" includes ") + header));
            }
        }
        QVERIFY(files > 10);
    }

    // What an office suite makes of the saved files: LibreOffice converts each to PDF and poppler counts
    // the pages.
    void officeSuiteReadsTheSavedFiles()
    {
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        QVERIFY2(!soffice.isEmpty(), "LibreOffice (libreoffice-writer-nogui) is missing: scripts/deps.sh installs it");
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty(), "pdfinfo (poppler-utils) is missing: scripts/deps.sh installs it");
        QTemporaryDir dir;
        ModNorvelia::InitSharedState();
        // "Tutte le sentenze" of a topic of 12 maxims, one a page.
        ArchiveData::setOverride(QStringLiteral("condominio"), SampleArchiveData(QStringLiteral("condominio"), {{10, 12}}));
        auto* archive = Forms::instance().ref<ArchiveWindow>(QStringLiteral("condominio"));
        archive->List1()->setCurrentRow(9);
        archive->stampatutte_Click();
        WordDocument* maxims = WordOut::currentDoc();
        QVERIFY(maxims);
        QStringList files{dir.filePath(QStringLiteral("sentenze-word.doc")), dir.filePath(QStringLiteral("sentenze-opendocument.odt"))};
        for (const QString& f : files) QVERIFY(maxims->SaveAs(f));
        // The whole guide, twelve help pages, one a page.
        auto* index = Forms::instance().ref<sommario>(QStringLiteral("sommario"));
        index->cmdStampa_Click();
        files << dir.filePath(QStringLiteral("guida.doc"));
        QVERIFY(WordOut::currentDoc()->SaveAs(files.last()));
        QFile::remove(sommario::GuidePath());
        // As this program lays them out, too.
        QCOMPARE(PageLayout::pageCount(maxims->text()), 12);
        QCOMPARE(PageLayout::pageCount(WordOut::currentDoc()->text()), 12);

        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("pdf")));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), dir.path());
        env.insert(QStringLiteral("TMPDIR"), dir.path());
        QString log;
        auto convert = [&](const QString& format, const QStringList& sources) {
            QProcess p;
            p.setProcessEnvironment(env);
            p.start(soffice, QStringList{QStringLiteral("--headless"), QStringLiteral("--norestore"),
                                         QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(dir.filePath(QStringLiteral("profilo"))).toString(),
                                         QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"), dir.filePath(QStringLiteral("pdf"))} +
                    sources);
            // A guard against a hung office suite, not a measure of it.
            const bool finished = p.waitForFinished(300000);
            log += QString::fromUtf8(p.readAllStandardError());
            return finished;
        };
        QVERIFY2(convert(QStringLiteral("pdf"), files), "LibreOffice did not finish converting");
        for (const QString& f : files) {
            const QString pdf = dir.filePath(QStringLiteral("pdf/") + QFileInfo(f).completeBaseName() + QStringLiteral(".pdf"));
            const QString converted = QFileInfo::exists(pdf) ? pdf : QString();
            QVERIFY2(!converted.isEmpty(), qPrintable(QFileInfo(f).fileName() + QStringLiteral(": ") + log));
            QCOMPARE(pdfinfoPages(converted), 12);
        }
        // A table of the word-compatible file stands within the page's margins.
        WordApplication app;
        const QString table = dir.filePath(QStringLiteral("tabella.doc"));
        QVERIFY(buildLongSample(app)->SaveAs(table));
        QVERIFY2(convert(QStringLiteral("odt"), {table}), "LibreOffice did not finish converting");
        const QByteArray content = ZipEntry(readFile(dir.filePath(QStringLiteral("pdf/tabella.odt"))), QStringLiteral("content.xml"));
        const auto m = QRegularExpression(QStringLiteral("<style:table-properties style:width=\"([\\d.]+)in\" fo:margin-left=\"(-?[\\d.]+)in\""))
                           .match(QString::fromUtf8(content));
        QVERIFY2(m.hasMatch(), qPrintable(log));
        const double textWidth = (PageLayout::paperSize().width() - PageLayout::margins().left() - PageLayout::margins().right()) / PageLayout::Dpi;
        QVERIFY2(m.captured(2).toDouble() >= -0.001, qPrintable(m.captured(0)));
        QVERIFY2(m.captured(1).toDouble() + m.captured(2).toDouble() <= textWidth + 0.001, qPrintable(m.captured(0)));
    }
};

// With --layout-fingerprint the program only prints where the lines of a sample document break, as laid
// out on its own screen; the resolution test starts it on screens of other resolutions. With
// --document-window-size it opens a sample document and prints its window's size and the screen's free
// area, for the test that starts it on screens of other sizes and scales.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (QCoreApplication::arguments().contains(QStringLiteral("--layout-fingerprint"))) {
        PlatformScope platform;
        WordApplication word;
        QTextStream(stdout) << layoutFingerprint(buildLongSample(word)->text()) << '\n';
        return 0;
    }
    if (QCoreApplication::arguments().contains(QStringLiteral("--document-window-size"))) {
        PlatformScope platform;
        WordApplication word;
        DocumentWindow* w = DocumentWindow::open(buildSample(word));
        const QRect free = w->screen()->availableGeometry();
        QTextStream(stdout) << w->width() << ' ' << w->height() << ' ' << free.x() << ' ' << free.y() << ' ' << free.width() << ' '
                            << free.height() << '\n';
        std::fflush(stdout);
        std::_Exit(0);
    }
    TestWordOut test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "test_wordout.moc"
