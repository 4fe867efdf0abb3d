// Finding data files.
#include "app/data_files.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace app {

QString DataFilePath(const QString& relative) {
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString candidates[] = {
        programFolder + "/data/" + relative,
        programFolder + "/../share/zorvat/" + relative,
        QString(ZORVAT_DATA_DIR) + "/" + relative,
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate)) return QFileInfo(candidate).canonicalFilePath();
    }
    return {};
}

QUrl DataFileUrl(const QString& path, const QString& anchor) {
    QUrl url = QUrl::fromLocalFile(path);
    if (!anchor.isEmpty()) url.setFragment(anchor);
    return url;
}

}  // namespace app
