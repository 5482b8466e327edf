#include "TransferLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QtDebug>

#ifndef RTK_LIBDIR_FROM_BINDIR
#define RTK_LIBDIR_FROM_BINDIR "../lib"
#endif

namespace {
// The major version of the library's interface (its SONAME ends in .so.1).
constexpr int kLibraryVersion = 1;
}  // namespace

QStringList TransferLibrary::DefaultCandidates() {
  const QString appDir = QCoreApplication::applicationDirPath();
  return {appDir + QStringLiteral("/Vantor2"),
          QDir::cleanPath(appDir + QStringLiteral("/" RTK_LIBDIR_FROM_BINDIR "/Vantor2")), QStringLiteral("Vantor2")};
}

TransferLibrary::TransferLibrary(QStringList candidates) : m_candidates(std::move(candidates)) {}

// The library stays loaded until the program ends: its window classes and
// threads must not vanish under a later transfer, so nothing unloads it here.
TransferLibrary::~TransferLibrary() = default;

bool TransferLibrary::Bind() {
  if (m_run != nullptr) return true;
  for (const QString& candidate : m_candidates) {
    // The versioned name first (the installed runtime file), then the plain
    // one (a library file given by its full name, or a build without one).
    for (bool versioned : {true, false}) {
      if (versioned) {
        m_library.setFileNameAndVersion(candidate, kLibraryVersion);
      } else {
        m_library.setFileName(candidate);
      }
      if (!m_library.load()) continue;
      m_run = reinterpret_cast<RunVantorFn>(m_library.resolve("RunVantor"));
      if (m_run != nullptr) return true;
      qWarning().noquote() << "RTKelvane:" << m_library.fileName() << "has no export RunVantor";
      m_library.unload();
    }
  }
  qWarning().noquote() << "RTKelvane: the transfer library Vantor2 was not found; no transfer takes place";
  return false;
}

std::optional<int> TransferLibrary::Run(const TransferArgs& args) {
  if (!Bind()) return std::nullopt;
  return m_run(args.recvDir.c_str(), args.sendDir.c_str(), args.portNo, args.speed, args.appendMode,
               args.userData.c_str());
}
