#pragma once
// The volumes the directory chooser offers in its drive list. On Linux a
// volume is a mounted file system, named by its mount point and label; a
// volume whose root cannot be read is what a drive that is not ready is
// elsewhere. Tests hand the chooser volumes of their own.

#include <QList>
#include <QString>
#include <optional>

struct Volume {
  QString rootPath;  // the mount point, without a final "/" except for "/"
  QString label;     // may be empty
};

class VolumeSource {
 public:
  virtual ~VolumeSource() = default;
  virtual QList<Volume> Volumes() const = 0;
  // The system's description of why dir cannot be read; none when it can.
  virtual std::optional<QString> AccessError(const QString& dir) const = 0;
};

// The mounted volumes of this machine.
class SystemVolumes final : public VolumeSource {
 public:
  QList<Volume> Volumes() const override;
  std::optional<QString> AccessError(const QString& dir) const override;
};
