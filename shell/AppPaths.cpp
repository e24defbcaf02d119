#include "AppPaths.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef NORVELIA_DATA_DIR
#define NORVELIA_DATA_DIR "/usr/local/share/norvelia"
#endif

namespace AppPaths {
namespace {
QString& folderInPlace()
{
    static QString f;
    return f;
}
} // namespace

QString applicationFolder() { return folderInPlace().isEmpty() ? QCoreApplication::applicationDirPath() : folderInPlace(); }
void setApplicationFolder(const QString& folder) { folderInPlace() = folder; }

QString dataFolder()
{
    const QString env = qEnvironmentVariable("NORVELIA_DATA_DIR");
    return env.isEmpty() ? QStringLiteral(NORVELIA_DATA_DIR) : env;
}

QString inCurrentDirectory(const QString& name)
{
    if (QFileInfo::exists(name)) return name;
    const QString installed = QDir(dataFolder()).filePath(name);
    return QFileInfo::exists(installed) ? installed : name;
}

QString inApplicationFolder(const QString& name)
{
    const QString beside = QDir(applicationFolder()).filePath(name);
    if (QFileInfo::exists(beside)) return beside;
    const QString installed = QDir(dataFolder()).filePath(name);
    return QFileInfo::exists(installed) ? installed : beside;
}
} // namespace AppPaths
