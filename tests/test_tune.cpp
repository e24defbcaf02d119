// The splash tune: the committed file is the generator's, the MIDI reader refuses damaged files, and
// the FluidSynth device plays, pauses and resumes, or stays silent when it cannot.
#include "platform/MidiDevice.h"
#include "platform/MidiFile.h"
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QString sourceDir() { return qEnvironmentVariable("NORVELIA_SOURCE_DIR"); }
QString binaryDir() { return qEnvironmentVariable("NORVELIA_BINARY_DIR"); }
QByteArray committedTune()
{
    QFile f(sourceDir() + QStringLiteral("/resources/Internet.mid"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Peak absolute sample of a 16-bit PCM WAV file, after its header.
int peakOfWav(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray b = f.readAll();
    int peak = 0;
    for (qsizetype i = 44; i + 1 < b.size(); i += 2)
        peak = std::max(peak, std::abs(int(qint16(quint8(b[i]) | (quint8(b[i + 1]) << 8)))));
    return peak;
}
// Sends the device's sound to a WAV file for as long as it lives, so that a failed check cannot leave
// the setting to the next test.
struct RenderToFile {
    explicit RenderToFile(const QString& wav)
    {
        qputenv("NORVELIA_AUDIO_DRIVER", "file");
        qputenv("NORVELIA_AUDIO_FILE", QFile::encodeName(wav));
    }
    ~RenderToFile()
    {
        qunsetenv("NORVELIA_AUDIO_DRIVER");
        qunsetenv("NORVELIA_AUDIO_FILE");
    }
};
} // namespace

class TestTune : public QObject {
    Q_OBJECT
private slots:
    void committedFileIsTheGeneratorsOutput()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("t.mid"));
        QCOMPARE(QProcess::execute(binaryDir() + QStringLiteral("/maketune"), {out}), 0);
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), committedTune());
    }

    void readerMeasuresTheTune()
    {
        MidiFileInfo info;
        QString error;
        QVERIFY2(MidiFile::parse(committedTune(), &info, &error), qPrintable(error));
        QCOMPARE(info.format, 1);
        QCOMPARE(info.trackCount, 3);
        QCOMPARE(info.division, 480);
        QVERIFY(info.noteOnCount > 30);
        // About twenty seconds at 100 beats a minute.
        const double seconds = double(info.lengthTicks) / info.division * 0.6;
        QVERIFY2(seconds > 15 && seconds < 30, qPrintable(QString::number(seconds)));
    }

    void readerRefusesDamage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = committedTune();
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not midi") << QByteArray("RIFF....WAVEfmt ");
        QTest::newRow("cut in the header") << good.left(10);
        QTest::newRow("cut in a track") << good.left(good.size() - 7);
        QByteArray tracks = good;
        tracks[11] = 9;   // more tracks than the file has
        QTest::newRow("missing tracks") << tracks;
        QByteArray length = good;
        length[21] = char(0x7F);   // the first track claims to run past the end
        QTest::newRow("track length") << length;
        QByteArray smpte = good;
        smpte[12] = char(0xE7);
        QTest::newRow("time code division") << smpte;
    }

    void readerRefusesDamage()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!MidiFile::parse(bytes));
    }

    void deviceIsSilentWithoutAFile()
    {
        MidiDevice d;
        d.setFileName(QStringLiteral("/nonexistent/Internet.mid"));
        d.command(QStringLiteral("open"));
        QCOMPARE(d.mode(), MciDevice::Mode::NotOpen);
        d.command(QStringLiteral("play"));
        d.command(QStringLiteral("pause"));
        d.command(QStringLiteral("close"));
        QCOMPARE(d.mode(), MciDevice::Mode::NotOpen);
        d.drain();
        QVERIFY(!d.audible());
    }

    void deviceRendersPausesAndResumes()
    {
        if (MidiDevice::soundFontPath().isEmpty()) QSKIP("no General MIDI soundfont installed");
        QTemporaryDir dir;
        const QString wav = dir.filePath(QStringLiteral("out.wav"));
        {
            const RenderToFile output(wav);
            MidiDevice d;
            d.setFileName(sourceDir() + QStringLiteral("/resources/Internet.mid"));
            d.command(QStringLiteral("open"));
            QCOMPARE(d.mode(), MciDevice::Mode::Stopped);
            d.command(QStringLiteral("play"));
            QCOMPARE(d.mode(), MciDevice::Mode::Playing);
            // The soundfont waits for the event loop to have nothing left to do.
            QVERIFY(!d.audible());
            d.drain();
            QVERIFY(d.audible());
            QTest::qWait(300);
            d.command(QStringLiteral("pause"));
            QCOMPARE(d.mode(), MciDevice::Mode::Paused);
            d.command(QStringLiteral("pause"));   // pausing twice is harmless
            d.command(QStringLiteral("play"));
            QCOMPARE(d.mode(), MciDevice::Mode::Playing);
            QTest::qWait(300);
            d.command(QStringLiteral("close"));
            QCOMPARE(d.mode(), MciDevice::Mode::NotOpen);
            d.drain();
        }
        QVERIFY(QFile::exists(wav));
        QVERIFY2(peakOfWav(wav) > 500, "the rendered tune is silent");
    }

    // Closing a tune while its output is rendering must not leave the renderer with a dead player.
    void deviceSurvivesTunesClosedWhilePlaying()
    {
        if (MidiDevice::soundFontPath().isEmpty()) QSKIP("no General MIDI soundfont installed");
        QTemporaryDir dir;
        const RenderToFile output(dir.filePath(QStringLiteral("out.wav")));
        {
            MidiDevice d;
            d.setFileName(sourceDir() + QStringLiteral("/resources/Internet.mid"));
            for (int i = 0; i < 40; ++i) {
                d.command(QStringLiteral("open"));
                if (i % 5 != 4) d.command(QStringLiteral("play"));   // and now and then closed unplayed
                d.drain();
                QVERIFY(d.audible());
                QTest::qWait(i % 4);
                d.command(QStringLiteral("close"));
            }
            d.command(QStringLiteral("open"));
            d.command(QStringLiteral("play"));
        }
    }
};

QTEST_GUILESS_MAIN(TestTune)
#include "test_tune.moc"
