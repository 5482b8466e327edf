#pragma once
// Binding of the transfer library Vantor2. The library is loaded, and its
// export RunVantor looked up, at the first transfer, not at start; once found
// it stays loaded until the program ends. When neither the library nor its
// export can be found, no transfer takes place: Run reports that by giving
// no result, and the next transfer tries again.

#include <QLibrary>
#include <QString>
#include <QStringList>
#include <optional>

#include "transfer_args.h"
#include "vantor2.h"

// The arguments of one call, as the library takes them: texts in the local
// 8-bit encoding.
using vantor::TransferArgs;

class TransferLibrary {
 public:
  // The places tried in turn: beside the program, the installation's library
  // folder, then the system's own search by name.
  static QStringList DefaultCandidates();

  explicit TransferLibrary(QStringList candidates);
  ~TransferLibrary();
  TransferLibrary(const TransferLibrary&) = delete;
  TransferLibrary& operator=(const TransferLibrary&) = delete;

  // Calls RunVantor; no result when the library or its export is missing.
  std::optional<int> Run(const TransferArgs& args);
  bool IsLoaded() const { return m_run != nullptr; }
  QString FileName() const { return m_library.fileName(); }

 private:
  using RunVantorFn = int(VANTOR_CALL*)(const char*, const char*, int, int, int, const char*);
  bool Bind();

  QStringList m_candidates;
  QLibrary m_library;
  RunVantorFn m_run = nullptr;
};
