// A FileSystem for tests: passes every call to the real one, can make one chosen operation fail
// as if the disk had refused it, and, while faults are injected, notices the orderings that lose
// data in a crash: a file renamed into place, or another file changed or removed, while some file
// still has writes that were not synced since the injection began.
#pragma once

#include <memory>
#include <set>
#include <string>

#include "cassette/File.h"

namespace kiv::test {

enum class IoOp { Create, Write, Truncate, Sync, Rename, Remove };

class IoFaults {
 public:
  virtual ~IoFaults() = default;
  virtual bool ShouldFail(IoOp op, const std::string& path) = 0;  // true: the operation fails
};

// Fails the n-th disk operation (counting from 1) of the given kinds, every kind by default, and
// only that one.
class FailNthOperation : public IoFaults {
 public:
  explicit FailNthOperation(int n, std::set<IoOp> ops = {IoOp::Create, IoOp::Write, IoOp::Truncate,
                                                         IoOp::Sync, IoOp::Rename, IoOp::Remove})
      : n_(n), ops_(std::move(ops)) {}
  bool ShouldFail(IoOp op, const std::string&) override {
    return ops_.count(op) != 0 && ++seen_ == n_ && (fired_ = true);
  }
  bool fired() const { return fired_; }

 private:
  int n_;
  std::set<IoOp> ops_;
  int seen_ = 0;
  bool fired_ = false;
};

class FaultyFileSystem final : public FileSystem {
 public:
  // nullptr lets everything through and stops watching the order.
  void Inject(IoFaults* faults) {
    faults_ = faults;
    dirty_.clear();
  }
  const std::string& Unsafe() const { return unsafe_; }  // the first unsafe ordering, "" if none

  Status Open(const std::string& path, File::Mode mode, std::unique_ptr<File>* file) override {
    const bool create = mode == File::Mode::CreateReadWrite;
    if (create && Fails(IoOp::Create, path)) return Status::Error(StatusCode::IoError, "create");
    std::unique_ptr<File> real;
    Status status = base_.Open(path, mode, &real);
    if (real) *file = std::make_unique<Wrapped>(*this, std::move(real));
    if (create && status.ok()) dirty_.insert(path);
    return status;
  }
  bool Exists(const std::string& path) override { return base_.Exists(path); }
  uint64_t Size(const std::string& path) override { return base_.Size(path); }
  bool Remove(const std::string& path) override {
    if (Fails(IoOp::Remove, path)) return false;
    dirty_.erase(path);
    if (!dirty_.empty()) Note(path + " removed before " + *dirty_.begin() + " was synced");
    return base_.Remove(path);
  }
  bool Replace(const std::string& from, const std::string& to) override {
    if (Fails(IoOp::Rename, to)) return false;
    if (dirty_.count(from)) Note(from + " renamed over " + to + " before it was synced");
    return base_.Replace(from, to);
  }
  MoveResult MoveNoReplace(const std::string& from, const std::string& to) override {
    return Fails(IoOp::Rename, to) ? MoveResult::Failed : base_.MoveNoReplace(from, to);
  }

 private:
  class Wrapped final : public File {
   public:
    Wrapped(FaultyFileSystem& fs, std::unique_ptr<File> real) : File(real->path()), fs_(fs), real_(std::move(real)) {}
    uint64_t Length() const override { return real_->Length(); }
    bool ReadAt(uint64_t at, void* data, size_t size) const override { return real_->ReadAt(at, data, size); }
    bool WriteAt(uint64_t at, const void* data, size_t size) override {
      return Changed(IoOp::Write) && real_->WriteAt(at, data, size);
    }
    bool Truncate(uint64_t length) override { return Changed(IoOp::Truncate) && real_->Truncate(length); }
    bool Sync() override {
      if (fs_.Fails(IoOp::Sync, path()) || !real_->Sync()) return false;
      fs_.dirty_.erase(path());
      return true;
    }

   private:
    bool Changed(IoOp op) {
      if (fs_.Fails(op, path())) return false;
      if (!fs_.dirty_.empty() && !fs_.dirty_.count(path())) fs_.Note(path() + " changed before " + *fs_.dirty_.begin() + " was synced");
      fs_.dirty_.insert(path());
      return true;
    }
    FaultyFileSystem& fs_;
    std::unique_ptr<File> real_;
  };

  bool Fails(IoOp op, const std::string& path) { return faults_ && faults_->ShouldFail(op, path); }
  void Note(const std::string& what) {
    if (faults_ && unsafe_.empty()) unsafe_ = what;
  }

  FileSystem& base_ = FileSystem::Default();
  IoFaults* faults_ = nullptr;
  std::set<std::string> dirty_;
  std::string unsafe_;
};

}  // namespace kiv::test
