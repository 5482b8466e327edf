#include "StockFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "FuntDefine.h"

namespace StockFile {

QString StampedName(const QString& recvDir, const QDateTime& when) {
  return recvDir + QStringLiteral("/STOCK_") + when.toString(QStringLiteral("yyyyMMddHHmmss")) + QStringLiteral(".txt");
}

QString FindStockFile(const QString& recvDir) {
  const QString exact = recvDir + QStringLiteral("/STOCK.TXT");
  if (QFileInfo::exists(exact)) return exact;
  // A terminal may send "stock.txt"; names match whatever their case, as
  // on the terminal's home platform. The first in name order is taken.
  const QStringList names = QDir(recvDir).entryList({QStringLiteral("STOCK.TXT")}, QDir::Files, QDir::Name);
  for (const QString& name : names) {
    if (name.compare(QStringLiteral("STOCK.TXT"), Qt::CaseInsensitive) == 0) return recvDir + u'/' + name;
  }
  return exact;
}

Outcome RenameReceived(const QString& recvDir, const QDateTime& when) {
  const QString stock = FindStockFile(recvDir);
  const QFileInfo info(stock);
  if (!info.exists() || !info.isFile() || info.isHidden()) return Outcome::NoStockFile;
  // A failure here shows again in the rename below, which is what counts.
  MakeDirPath(recvDir);
  // QFile::rename refuses a target that exists and does not replace it.
  return QFile::rename(stock, StampedName(recvDir, when)) ? Outcome::Renamed : Outcome::RenameFailed;
}

}  // namespace StockFile
