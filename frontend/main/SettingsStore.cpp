#include "SettingsStore.h"

#include <QSettings>
#include <QtDebug>

#include "VarDefine.h"

QSettingsStore::QSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QString::fromLatin1(VarDefine::kSettingsApp),
                                             QString::fromLatin1(VarDefine::kSettingsApp))) {}

QSettingsStore::~QSettingsStore() = default;

static QString SectionKey(const QString& key) { return QString::fromLatin1(VarDefine::kSettingsSection) + u'/' + key; }

QString QSettingsStore::Read(const QString& key, const QString& defaultValue) const {
  // Another program (or an older one) may have changed the file meanwhile.
  m_settings->sync();
  const QVariant value = m_settings->value(SectionKey(key));
  return value.isValid() ? value.toString() : defaultValue;
}

bool QSettingsStore::Write(const QString& key, const QString& value) {
  m_settings->setValue(SectionKey(key), value);
  m_settings->sync();
  return m_settings->status() == QSettings::NoError;
}

QString QSettingsStore::PortDevice(int portNo) const {
  m_settings->sync();
  return m_settings
      ->value(QString::fromLatin1(VarDefine::kPortsSection) + QStringLiteral("/COM") + QString::number(portNo))
      .toString()
      .trimmed();
}

QString QSettingsStore::Location() const { return m_settings->fileName(); }

void WriteSetting(SettingsStore& store, const QString& key, const QString& value) {
  if (!store.Write(key, value)) {
    qWarning().noquote() << "RTKelvane: the setting" << key << "could not be stored";
  }
}
