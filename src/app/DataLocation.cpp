#include "DataLocation.h"

#include "Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

namespace {

// The tables a Data folder holds; a user's folder with any of them is not filled again.
const char* const kTables[] = {"BatchInfo.ADT", "Recipes.adt", "RMLib.ADT"};

QString named(const QString& folder, const char* where) {
    const QFileInfo info(folder);
    if (!info.exists() || !info.isDir())
        return QStringLiteral("The Data folder \"%1\" named by %2 does not exist.")
            .arg(QDir::toNativeSeparators(info.absoluteFilePath()), QLatin1String(where));
    return QString();
}

} // namespace

DataLocation locateData(const DataPlaces& p) {
    DataLocation out;
    const std::pair<const QString*, const char*> namedPlaces[] = {
        {&p.option, "--data"}, {&p.environment, "KALVORA_DATA"}, {&p.configured, "the configuration file"}};
    for (const auto& [folder, where] : namedPlaces) {
        if (folder->isEmpty())
            continue;
        out.error = named(*folder, where);
        if (out.error.isEmpty())
            out.folder = QFileInfo(*folder).absoluteFilePath();
        return out;
    }
    if (!p.workingDir.isEmpty() && QFileInfo(QDir(p.workingDir).filePath(QStringLiteral("Data"))).isDir()) {
        out.folder = QDir(p.workingDir).absoluteFilePath(QStringLiteral("Data"));
        return out;
    }
    const QString user = QDir(p.userData).absoluteFilePath(QStringLiteral("Data"));
    out.folder = user;
    const bool any = std::any_of(std::begin(kTables), std::end(kTables),
                                 [&](const char* t) { return QFileInfo::exists(QDir(user).filePath(QLatin1String(t))); });
    if (any)
        return out;
    // The first start: the user's folder gets the starter tables, and the user is told where.
    if (!QDir().mkpath(user)) {
        out.error = QStringLiteral("The Data folder \"%1\" cannot be made.").arg(QDir::toNativeSeparators(user));
        out.folder.clear();
        return out;
    }
    QStringList copied;
    for (const char* t : kTables) {
        const QString from = QDir(p.starterTables).filePath(QLatin1String(t));
        const QString to = QDir(user).filePath(QLatin1String(t));
        if (!QFile::copy(from, to)) {
            // All or none: a folder with some tables would be opened next time and found wanting.
            for (const QString& f : copied)
                QFile::remove(f);
            out.error = QStringLiteral("The starter table \"%1\" cannot be copied into \"%2\".")
                            .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(user));
            out.folder.clear();
            return out;
        }
        copied << to;
        QFile(to).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    out.seededNote = QStringLiteral("Kalvora put the starter tables in %1").arg(QDir::toNativeSeparators(user));
    return out;
}

DataPlaces placesOfThisProcess(const QString& option) {
    DataPlaces p;
    p.option = option;
    p.environment = qEnvironmentVariable("KALVORA_DATA");
    p.configured = userSettings().value(QStringLiteral("Aliases/Data")).toString();
    p.workingDir = QDir::currentPath();
    // The application's name is its title: the folder is named for the program alone.
    p.userData = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).filePath(QStringLiteral("Kalvora"));
    // Installed, the starter tables are in share/kalvora beside bin; built, in the build's own folder.
    const QString installed = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../share/kalvora/Data"));
    p.starterTables = QFileInfo(installed).isDir() ? installed : QStringLiteral(KALVORA_STARTER_DIR);
    return p;
}
