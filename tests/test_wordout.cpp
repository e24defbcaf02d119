// The word-processor layer: typing, fonts, breaks, alignment, tables, saving in each format and
// reading the files back, and the document window.
#include "DocReaders.h"
#include "Fixture.h"
#include "wordout/DocumentWindow.h"
#include "wordout/PageLayout.h"
#include "wordout/PageView.h"
#include "wordout/RtfWriter.h"
#include "wordout/WordApplication.h"
#include "wordout/WordDocument.h"
#include <QProcess>
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

int pdfPages(const QByteArray& pdf)
{
    int n = 0;
    for (qsizetype i = pdf.indexOf("/Type /Page"); i >= 0; i = pdf.indexOf("/Type /Page", i + 1))
        if (pdf.mid(i + 11, 1) != "s") ++n;
    return n;
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

    void officeSuiteReadsTheSavedFiles()
    {
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty()) QSKIP("LibreOffice is not installed: the conversion check is skipped");
        QTemporaryDir dir;
        WordApplication app;
        WordDocument* doc = buildSample(app);
        for (const char* name : {"conv.doc", "conv2.odt"}) {
            const QString path = dir.filePath(QString::fromLatin1(name));
            QVERIFY(doc->SaveAs(path));
            QProcess p;
            p.start(soffice, {"--headless", "-env:UserInstallation=file://" + dir.filePath("profile"), "--convert-to", "pdf",
                              "--outdir", dir.filePath("out"), path});
            QVERIFY(p.waitForFinished(120000));
            const QString pdf = dir.filePath("out/" + QFileInfo(path).completeBaseName() + ".pdf");
            QCOMPARE(pdfPages(readFile(pdf)), 2);
        }
    }
};

QTEST_MAIN(TestWordOut)
#include "test_wordout.moc"
