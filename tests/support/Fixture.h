#pragma once
#include "ScriptedPlatform.h"
#include "archives/ArchiveData.h"
#include "platform/Forms.h"
#include "shell/ModNorvelia.h"
#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <memory>

// A clean program for each test: no window loaded, shared state as at start, a scripted platform,
// the archives' data replaced by small data of the test's own when it installs some.
class ProgramFixture {
public:
    ProgramFixture();
    ~ProgramFixture();
    ScriptedPlatform& platform() { return *scope_; }

private:
    PlatformScope scope_;
};

// Archive data with the given number of maxims per topic ("@topic" lines with titles from the
// archive's definition); each maxim reads "<archive> t<topic> m<maxim> ...".
QByteArray SampleArchiveData(const QString& formName, const std::vector<std::pair<int, int>>& topicCounts);
QString SampleMaxim(const QString& formName, int topic, int maxim);
// Installs sample data for all seven archives with the definitions' own per-topic counts.
void InstallFullSampleData();
// Deletes the windows that were unloaded, as the event loop would.
void FlushDeletes();
