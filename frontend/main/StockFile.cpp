#include "StockFile.h"

#include <QFile>
#include <QFileInfo>

#include "FuntDefine.h"

namespace StockFile {

QString StampedName(const QString& recvDir, const QDateTime& when) {
  return recvDir + QStringLiteral("/STOCK_") + when.toString(QStringLiteral("yyyyMMddHHmmss")) +
         QStringLiteral(".txt");
}

Outcome RenameReceived(const QString& recvDir, const QDateTime& when) {
  const QString stock = recvDir + QStringLiteral("/STOCK.TXT");
  const QFileInfo info(stock);
  if (!info.exists() || !info.isFile() || info.isHidden()) return Outcome::NoStockFile;
  // A failure here shows again in the rename below, which is what counts.
  MakeDirPath(recvDir);
  // QFile::rename refuses a target that exists and does not replace it.
  return QFile::rename(stock, StampedName(recvDir, when)) ? Outcome::Renamed : Outcome::RenameFailed;
}

}  // namespace StockFile
