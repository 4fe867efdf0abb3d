// Where the help pages and documents are: beside the program, in its share
// folder when installed, or in the source tree of a build.
#pragma once

#include <QString>
#include <QUrl>

namespace app {

// The full path of a file under the data folder; empty when it is nowhere.
QString DataFilePath(const QString& relative);
// A file URL, with "#anchor" when one is given.
QUrl DataFileUrl(const QString& path, const QString& anchor);

}  // namespace app
