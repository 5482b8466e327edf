#include "SettingsStore_qt.h"

#include <QSettings>

#include "QtText.h"
#include "VarDefine.h"

QSettingsStore::QSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QString::fromLatin1(VarDefine::kSettingsApp),
                                             QString::fromLatin1(VarDefine::kSettingsApp))) {}

QSettingsStore::~QSettingsStore() = default;

static QString SectionKey(const std::string& key) {
  return QString::fromLatin1(VarDefine::kSettingsSection) + u'/' + Q(key);
}

std::string QSettingsStore::Read(const std::string& key, const std::string& defaultValue) const {
  // Another program (or an older one) may have changed the file meanwhile.
  m_settings->sync();
  const QVariant value = m_settings->value(SectionKey(key));
  return value.isValid() ? U8(value.toString()) : defaultValue;
}

bool QSettingsStore::Write(const std::string& key, const std::string& value) {
  m_settings->setValue(SectionKey(key), Q(value));
  m_settings->sync();
  return m_settings->status() == QSettings::NoError;
}

static QString PortKey(int portNo) {
  return QString::fromLatin1(VarDefine::kPortsSection) + QStringLiteral("/COM") + QString::number(portNo);
}

std::string QSettingsStore::PortDevice(int portNo) const {
  m_settings->sync();
  return U8(m_settings->value(PortKey(portNo)).toString().trimmed());
}

bool QSettingsStore::WritePortDevice(int portNo, const std::string& device) {
  if (device.empty()) {
    m_settings->remove(PortKey(portNo));
  } else {
    m_settings->setValue(PortKey(portNo), Q(device));
  }
  m_settings->sync();
  return m_settings->status() == QSettings::NoError;
}

std::string QSettingsStore::Location() const { return U8(m_settings->fileName()); }
