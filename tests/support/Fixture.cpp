#include "Fixture.h"
#include "search/SearchIndex.h"
#include "archives/ArchiveDefinition.h"
#include "shell/FormCatalog.h"
#include "shell/Settings.h"
#include "raccolte/RaccolteStore.h"
#include <QTemporaryDir>
#include <QApplication>
#include <QEvent>
#include <QTemporaryDir>
#include <QTest>

ProgramFixture::ProgramFixture()
{
    static const bool defined = [] {
        DefineAllForms();
        // The user's own settings are never read nor changed by a test.
        static QTemporaryDir settings;
        Settings::useFolder(settings.path());
        return true;
    }();
    (void)defined;
    Settings::open()->clear();
    Forms::instance().unloadAll();
    FlushDeletes();
    ModNorvelia::resetState();
    ArchiveData::clearOverrides();
    SearchIndex::resetShared();
    // No test touches the raccolte of whoever runs it: unless the test chose a file, one of its own.
    static QTemporaryDir raccolte;
    if (!RaccolteStore::pathOverridden()) RaccolteStore::setPathOverride(raccolte.filePath(QStringLiteral("raccolte.sqlite")));
}

ProgramFixture::~ProgramFixture()
{
    Forms::instance().unloadAll();
    FlushDeletes();
    ModNorvelia::resetState();
    ArchiveData::clearOverrides();
    SearchIndex::resetShared();
}

QString SampleMaxim(const QString& formName, int topic, int maxim)
{
    return QStringLiteral("%1 t%2 m%3 - testo di prova della massima. - (Cassazione civile, sez. II, 14 marzo 2000, n. %4)")
        .arg(formName).arg(topic).arg(maxim).arg(topic * 1000 + maxim);
}

QByteArray SampleArchiveData(const QString& formName, const std::vector<std::pair<int, int>>& topicCounts)
{
    const ArchiveDefinition* def = Archives::find(formName);
    QByteArray out = "# dati di prova\n";
    for (auto [t, n] : topicCounts) {
        out += "@topic " + QByteArray::number(t) + ' ' + (def ? def->topicTitle(t).toUtf8() : QByteArray("x")) + '\n';
        for (int m = 1; m <= n; ++m) out += SampleMaxim(formName, t, m).toUtf8() + '\n';
    }
    return out;
}

void InstallFullSampleData()
{
    for (const ArchiveDefinition& a : Archives::all()) {
        std::vector<std::pair<int, int>> counts;
        for (int t = 1; t <= a.topicCount; ++t)
            if (a.topicMaxims(t) > 0) counts.emplace_back(t, a.topicMaxims(t));
        QByteArray data = SampleArchiveData(a.name(), counts);
        ArchiveData::setOverride(a.name(), data);
    }
}

void FlushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
