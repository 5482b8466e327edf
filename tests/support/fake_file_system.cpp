#include "fake_file_system.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

namespace vtest {
namespace {

using vantor::SysError;

const char* OpName(FakeFileSystem::Op op) {
  static const char* const kNames[] = {"Open",          "Read",           "Write",  "Seek",   "Size",
                                       "Truncate",      "Flush",          "Remove", "Rename", "CreateDirectory",
                                       "ListDirectory", "FlushDirectory", "Status", "Exists"};
  return kNames[static_cast<int>(op)];
}

SysError Error(int code) { return {code, std::strerror(code)}; }

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// A name as a Windows disk keeps it: without trailing dots and spaces.
std::string WindowsName(std::string name) {
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  return name;
}

// Whether a name is already in 8.3 form, and so has no alias.
bool IsShortName(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  const std::string base = name.substr(0, dot);
  const std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
  return !base.empty() && base.size() <= 8 && ext.size() <= 3 && base.find('.') == std::string::npos &&
         name.find_first_of(" +,;=[]") == std::string::npos;
}

// The 8.3 alias's stem and extension of a long name: "VANTOR" and ".LST" for
// "VANTOR2-RECEIVE-COMMIT-RECORD.LST".
std::pair<std::string, std::string> AliasParts(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  std::string stem;
  for (char c : name.substr(0, dot)) {
    if (c != '.' && c != ' ' && stem.size() < 6) stem.push_back(c);
  }
  const std::string ext = dot == std::string::npos ? "" : "." + name.substr(dot + 1, 3);
  return {Upper(stem), Upper(ext)};
}

}  // namespace

std::string NormalPath(const std::string& path) {
  std::string p;
  for (char c : path) {
    if (c == '/' && !p.empty() && p.back() == '/') continue;
    p.push_back(c);
  }
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return p.empty() ? "." : p;
}

std::string ParentDir(const std::string& path) {
  const std::string p = NormalPath(path);
  const std::size_t slash = p.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : p.substr(0, slash);
}

// An open file: an inode, a position, and whether writes go to the end.
class FakeFile final : public vantor::CFile {
 public:
  FakeFile(FakeFileSystem& fs, std::string path, int inode, bool append)
      : m_fs(fs), m_path(std::move(path)), m_inode(inode), m_append(append) {}

  SysError Read(void* buf, std::size_t len, std::size_t* got) override {
    *got = 0;
    if (SysError e = m_fs.Check(FakeFileSystem::Op::Read, m_path)) return e;
    const std::string& d = Data();
    if (m_pos < d.size()) *got = std::min(len, d.size() - m_pos);
    std::memcpy(buf, d.data() + m_pos, *got);
    m_pos += *got;
    return {};
  }
  SysError Write(const void* buf, std::size_t len) override {
    if (SysError e = m_fs.Check(FakeFileSystem::Op::Write, m_path)) return e;
    std::string& d = Data();
    if (m_append) m_pos = d.size();
    std::size_t fits = len;
    const std::int64_t growth = static_cast<std::int64_t>(std::max(d.size(), m_pos + len) - d.size());
    if (m_fs.m_capacity >= 0 && m_fs.Used() + growth > m_fs.m_capacity) {
      const std::int64_t room = std::max<std::int64_t>(0, m_fs.m_capacity - m_fs.Used());
      fits = std::min(len, static_cast<std::size_t>(room) + (d.size() - std::min(d.size(), m_pos)));
    }
    if (d.size() < m_pos + fits) d.resize(m_pos + fits);
    d.replace(m_pos, fits, static_cast<const char*>(buf), fits);
    m_pos += fits;
    return fits == len ? SysError{} : Error(ENOSPC);
  }
  SysError Seek(std::int64_t offset) override {
    if (SysError e = m_fs.Check(FakeFileSystem::Op::Seek, m_path)) return e;
    if (offset < 0) return Error(EINVAL);
    m_pos = static_cast<std::size_t>(offset);
    return {};
  }
  SysError Size(std::int64_t* size) override {
    if (SysError e = m_fs.Check(FakeFileSystem::Op::Size, m_path)) return e;
    *size = static_cast<std::int64_t>(Data().size());
    return {};
  }
  SysError Truncate(std::int64_t size) override {
    if (SysError e = m_fs.Check(FakeFileSystem::Op::Truncate, m_path)) return e;
    Data().resize(static_cast<std::size_t>(size));
    return {};
  }
  SysError Flush() override {
    if (SysError e = m_fs.Check(FakeFileSystem::Op::Flush, m_path)) return e;
    FakeFileSystem::Inode& node = m_fs.m_inodes[m_inode];
    node.durable = node.data;
    // NTFS writes its journal of names, in order, with the file.
    if (m_fs.m_windows) m_fs.m_durableNames = m_fs.m_names;
    return {};
  }

 private:
  std::string& Data() { return m_fs.m_inodes[m_inode].data; }

  FakeFileSystem& m_fs;
  std::string m_path;
  int m_inode;
  bool m_append;
  std::size_t m_pos = 0;
};

FakeFileSystem::FakeFileSystem() {
  for (const char* root : {"/", "."}) m_names[root] = m_durableNames[root] = NewInode(true);
}

void FakeFileSystem::Fail(Op op, const std::string& pathPart, int error, int after, int times) {
  m_rules.push_back({op, pathPart, error, after, times});
}

SysError FakeFileSystem::Check(Op op, const std::string& path, const std::string& detail) {
  if (m_callsLeft == 0) return Error(EIO);
  if (m_callsLeft > 0) --m_callsLeft;
  const int index = static_cast<int>(calls.size());
  calls.push_back(std::string(OpName(op)) + " " + path + detail);
  if (m_failTimes > 0 && index >= m_failAt) {
    --m_failTimes;
    return Error(m_failError);
  }
  for (Rule& r : m_rules) {
    const bool matches = path.size() >= r.pathPart.size() &&
                         path.compare(path.size() - r.pathPart.size(), r.pathPart.size(), r.pathPart) == 0;
    if (r.op != op || !matches || r.times == 0) continue;
    if (r.after > 0) {
      --r.after;
      continue;
    }
    if (r.times > 0) --r.times;
    return Error(r.error);
  }
  return {};
}

int FakeFileSystem::NewInode(bool dir) {
  m_inodes[m_nextInode].dir = dir;
  return m_nextInode++;
}

std::int64_t FakeFileSystem::Used() const {
  std::int64_t used = 0;
  for (const auto& [id, node] : m_inodes) used += static_cast<std::int64_t>(node.data.size());
  return used;
}

std::string FakeFileSystem::Resolve(const std::string& path) const {
  const std::string p = NormalPath(path);
  if (!m_windows || p == "/" || p == ".") return p;
  const std::string dir = p.find('/') == std::string::npos ? "" : ParentDir(p);
  const std::string name = WindowsName(p.substr(p.rfind('/') + 1));
  const std::string parent = dir.empty() ? "" : Resolve(dir);
  const std::string joined = parent.empty() ? name : (parent == "/" ? "/" : parent + "/") + name;
  if (m_names.count(joined) != 0) return joined;
  const std::vector<std::string> names = Names(parent.empty() ? "." : parent);
  for (const std::string& n : names) {
    if (Upper(n) == Upper(name)) return parent.empty() ? n : (parent == "/" ? "/" : parent + "/") + n;
  }
  // The 8.3 alias: the n-th long name (in name order) with the same stem and
  // extension is "STEM~n.EXT".
  std::map<std::string, int> seen;
  for (const std::string& n : names) {
    if (IsShortName(n)) continue;
    const auto [stem, ext] = AliasParts(n);
    const std::string alias = stem + "~" + std::to_string(++seen[stem + ext]) + ext;
    if (alias == Upper(name)) return parent.empty() ? n : (parent == "/" ? "/" : parent + "/") + n;
  }
  return joined;
}

const FakeFileSystem::Inode* FakeFileSystem::Find(const std::string& path) const {
  auto it = m_names.find(Resolve(path));
  return it == m_names.end() ? nullptr : &m_inodes.at(it->second);
}

void FakeFileSystem::PowerCut() {
  m_names = m_durableNames;
  for (auto& [id, node] : m_inodes) node.data = node.durable;
}

void FakeFileSystem::MakeDir(const std::string& path) {
  const std::string p = NormalPath(path);
  if (Find(p) == nullptr) m_names[p] = m_durableNames[p] = NewInode(true);
}

void FakeFileSystem::Put(const std::string& path, const std::string& data) {
  const std::string p = NormalPath(path);
  if (Find(p) == nullptr) m_names[p] = m_durableNames[p] = NewInode(false);
  Inode& node = m_inodes[m_names[p]];
  node.data = node.durable = data;
}

std::string FakeFileSystem::Get(const std::string& path) const {
  const Inode* node = Find(path);
  return node != nullptr ? node->data : std::string();
}

bool FakeFileSystem::Has(const std::string& path) const { return Find(path) != nullptr; }

std::vector<std::string> FakeFileSystem::Names(const std::string& dir) const {
  std::vector<std::string> names;
  const std::string d = NormalPath(dir);
  for (const auto& [path, id] : m_names) {
    if (path != d && ParentDir(path) == d) names.push_back(path.substr(path.rfind('/') + 1));
  }
  return names;
}

std::unique_ptr<vantor::CFile> FakeFileSystem::Open(const std::string& path, vantor::OpenMode mode, SysError* error) {
  SysError e = Check(Op::Open, path);
  const std::string p = Resolve(path);
  const Inode* node = Find(p);
  const Inode* parent = Find(ParentDir(p));
  if (!e) {
    if (node != nullptr && node->dir) {
      e = Error(EISDIR);
    } else if (node == nullptr && mode == vantor::OpenMode::Read) {
      e = Error(ENOENT);
    } else if (node == nullptr && (parent == nullptr || !parent->dir)) {
      e = Error(parent == nullptr ? ENOENT : ENOTDIR);
    }
  }
  if (e) {
    if (error != nullptr) *error = e;
    return nullptr;
  }
  if (node == nullptr) m_names[p] = NewInode(false);
  if (mode == vantor::OpenMode::Replace) m_inodes[m_names[p]].data.clear();
  return std::make_unique<FakeFile>(*this, path, m_names[p], mode == vantor::OpenMode::Append);
}

vantor::FileStatus FakeFileSystem::Status(const std::string& path) {
  if (SysError e = Check(Op::Status, path)) return {vantor::FileKind::Unknown, 0, e};
  const Inode* node = Find(path);
  if (node == nullptr) return {};
  return {node->dir ? vantor::FileKind::Directory : vantor::FileKind::Regular,
          static_cast<std::int64_t>(node->data.size()),
          {}};
}

vantor::FileStatus FakeFileSystem::Exists(const std::string& path) {
  if (SysError e = Check(Op::Exists, path)) return {vantor::FileKind::Unknown, 0, e};
  if (!Has(path)) return {};
  return {vantor::FileKind::Other, 0, {}};
}

SysError FakeFileSystem::Remove(const std::string& path) {
  if (SysError e = Check(Op::Remove, path)) return e;
  const Inode* node = Find(path);
  if (node == nullptr) return Error(ENOENT);
  if (node->dir) return Error(EISDIR);
  m_names.erase(Resolve(path));
  return {};
}

SysError FakeFileSystem::Rename(const std::string& from, const std::string& to) {
  if (SysError e = Check(Op::Rename, from, " -> " + to)) return e;
  const Inode* node = Find(from);
  const Inode* target = Find(to);
  const Inode* parent = Find(ParentDir(to));
  if (node == nullptr || parent == nullptr) return Error(ENOENT);
  if (target != nullptr && target->dir != node->dir) return Error(target->dir ? EISDIR : ENOTDIR);
  const int id = m_names[Resolve(from)];
  m_names.erase(Resolve(from));
  m_names.erase(Resolve(to));  // on Windows rules, with its old letter case
  m_names[Resolve(to)] = id;
  return {};
}

SysError FakeFileSystem::CreateDirectory(const std::string& path) {
  if (SysError e = Check(Op::CreateDirectory, path)) return e;
  if (Find(path) != nullptr) return Error(EEXIST);
  const Inode* parent = Find(ParentDir(path));
  if (parent == nullptr || !parent->dir) return Error(ENOENT);
  m_names[Resolve(path)] = NewInode(true);
  return {};
}

SysError FakeFileSystem::ListDirectory(const std::string& dir, std::vector<std::string>* names) {
  names->clear();
  if (SysError e = Check(Op::ListDirectory, dir)) return e;
  const Inode* node = Find(dir);
  if (node == nullptr || !node->dir) return Error(node == nullptr ? ENOENT : ENOTDIR);
  *names = Names(dir);
  return {};
}

SysError FakeFileSystem::FlushDirectory(const std::string& dir) {
  if (SysError e = Check(Op::FlushDirectory, dir)) return e;
  if (m_windows) return {};  // as the Windows layer once did: nothing, and no error
  const std::string d = Resolve(dir);
  for (auto it = m_durableNames.begin(); it != m_durableNames.end();) {
    it = (it->first != d && ParentDir(it->first) == d) ? m_durableNames.erase(it) : std::next(it);
  }
  for (const auto& [path, id] : m_names) {
    if (path != d && ParentDir(path) == d) m_durableNames[path] = id;
  }
  return {};
}

bool FakeFileSystem::CanWriteIn(const std::string& dir) {
  const Inode* node = Find(dir);
  return node != nullptr && node->dir;
}

}  // namespace vtest
