#include "DefaultDirs.h"

#include <QDir>
#include <QFileInfo>
#include <QtDebug>

#include "SettingsStore.h"
#include "VarDefine.h"

namespace {

void CreateIfDefault(const SettingsStore& store, const char* key, const QString& defaultDir) {
  const QString stored = store.Read(QLatin1String(key), defaultDir).trimmed();
  if (stored.isEmpty() || QDir::cleanPath(stored) != QDir::cleanPath(defaultDir)) return;
  if (QFileInfo::exists(defaultDir)) return;
  if (!QDir().mkpath(defaultDir)) qWarning().noquote() << "RTKelvane: cannot create" << defaultDir;
}

}  // namespace

void CreateDefaultDirs(const SettingsStore& store) {
  CreateIfDefault(store, VarDefine::kKeySendDir, VarDefine::DefaultSendDir());
  CreateIfDefault(store, VarDefine::kKeyRecvDir, VarDefine::DefaultRecvDir());
}
