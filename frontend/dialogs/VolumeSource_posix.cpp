#include <dirent.h>

#include <QFileInfo>
#include <QStorageInfo>
#include <cerrno>

#include "VolumeSource.h"

QList<Volume> SystemVolumes::Volumes() const {
  QList<Volume> volumes;
  for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
    // Files mounted over files are no volumes, and the read-only images
    // that packaged applications bring hold no data of the operator's.
    if (!storage.isValid() || !QFileInfo(storage.rootPath()).isDir()) continue;
    if (storage.fileSystemType() == "squashfs") continue;
    volumes.append({storage.rootPath(), storage.name()});
  }
  return volumes;
}

std::optional<QString> SystemVolumes::AccessError(const QString& dir) const {
  // Opening the directory is what listing it needs; its error is the one the
  // operator has to see (a medium missing, no permission, an I/O error).
  const QByteArray path = dir.toLocal8Bit();
  DIR* handle = ::opendir(path.constData());
  if (handle == nullptr) return qt_error_string(errno);
  ::closedir(handle);
  return std::nullopt;
}
