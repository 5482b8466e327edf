#include "VarDefine.h"

#include <QDir>

namespace VarDefine {

QString DefaultSendDir() { return QDir::homePath() + QStringLiteral("/send"); }

QString DefaultRecvDir() { return QDir::homePath() + QStringLiteral("/recv"); }

}  // namespace VarDefine
