// Batches of folders listed on a few threads. Under Wine most of a listing is waiting on the
// wineserver (open, fd, close), which another thread's directory read can overlap. The entries
// go back to the calling thread in the listing buffers themselves, so a batch holds at most two
// buffers per thread whatever the folders hold.
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/win32/folder_reader.h"
#include "platform/win32/win32_platform.h"

namespace tessel::win32 {

class ListingPool {
 public:
  explicit ListingPool(const ListingOptions& options);
  ~ListingPool();
  ListingPool(const ListingPool&) = delete;
  ListingPool& operator=(const ListingPool&) = delete;

  bool Started() const { return !threads_.empty(); }
  // Returns once every thread is idle again: no listing runs past it.
  void List(std::span<const std::wstring> folders, const BatchEntrySink& sink);

 private:
  struct Chunk {
    size_t folder;
    uint64_t* buffer;
  };

  static DWORD WINAPI ThreadMain(void* self);
  void Work();
  void ListOne(size_t folder);
  uint64_t* TakeFreeBuffer();  // with the lock held; nullptr when the batch is cancelled
  void Cancel();               // with the lock held: stop early and wait for the threads

  const DWORD bufferBytes_;
  const bool shortReadEnds_;
  SRWLOCK lock_ = SRWLOCK_INIT;
  CONDITION_VARIABLE batchReady_ = CONDITION_VARIABLE_INIT;  // threads: a batch, or stop
  CONDITION_VARIABLE bufferFree_ = CONDITION_VARIABLE_INIT;  // threads: a buffer to read into
  CONDITION_VARIABLE chunkReady_ = CONDITION_VARIABLE_INIT;  // caller: entries, or all idle
  std::vector<HANDLE> threads_;
  std::vector<std::unique_ptr<uint64_t[]>> storage_;
  std::vector<uint64_t*> free_;
  std::vector<Chunk> filled_;  // a ring as long as there are buffers, so no thread allocates
  size_t filledHead_ = 0, filledCount_ = 0;
  std::span<const std::wstring> folders_;
  size_t next_ = 0;     // the next folder of the batch to take
  unsigned busy_ = 0;   // threads not yet done with the batch
  uint64_t batch_ = 0;  // counts batches, so a thread takes each once
  bool cancelled_ = false;
  bool stop_ = false;
};

ListingPool::ListingPool(const ListingOptions& options)
    : bufferBytes_(options.bufferBytes), shortReadEnds_(options.shortReadEnds) {
  size_t buffers = 2 * options.workers;
  for (size_t i = 0; i < buffers; ++i) {
    storage_.push_back(std::make_unique_for_overwrite<uint64_t[]>(bufferBytes_ / 8));
    free_.push_back(storage_.back().get());
  }
  filled_.resize(buffers);
  for (unsigned i = 0; i < options.workers; ++i) {
    // The threads only open, read and close: a small stack is plenty.
    HANDLE thread = CreateThread(nullptr, 256 * 1024, ThreadMain, this,
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (thread) threads_.push_back(thread);
  }
}

ListingPool::~ListingPool() {
  AcquireSRWLockExclusive(&lock_);
  stop_ = true;
  WakeAllConditionVariable(&batchReady_);
  ReleaseSRWLockExclusive(&lock_);
  WaitForMultipleObjects(static_cast<DWORD>(threads_.size()), threads_.data(), TRUE, INFINITE);
  for (HANDLE thread : threads_) CloseHandle(thread);
}

DWORD WINAPI ListingPool::ThreadMain(void* self) {
  static_cast<ListingPool*>(self)->Work();
  return 0;
}

void ListingPool::Work() {
  AcquireSRWLockExclusive(&lock_);
  uint64_t done = 0;
  for (;;) {
    while (!stop_ && batch_ == done) SleepConditionVariableSRW(&batchReady_, &lock_, INFINITE, 0);
    if (stop_) break;
    done = batch_;
    while (!cancelled_ && next_ < folders_.size()) {
      size_t folder = next_++;
      ReleaseSRWLockExclusive(&lock_);
      ListOne(folder);
      AcquireSRWLockExclusive(&lock_);
    }
    if (--busy_ == 0) WakeConditionVariable(&chunkReady_);
  }
  ReleaseSRWLockExclusive(&lock_);
}

void ListingPool::ListOne(size_t folder) {
  try {
    FolderReader reader(folders_[folder], shortReadEnds_);
    if (!reader.Opened()) return;
    for (;;) {
      AcquireSRWLockExclusive(&lock_);
      uint64_t* buffer = TakeFreeBuffer();
      ReleaseSRWLockExclusive(&lock_);
      if (!buffer) return;
      bool read = reader.Read(buffer, bufferBytes_);
      AcquireSRWLockExclusive(&lock_);
      if (read) {
        filled_[(filledHead_ + filledCount_++) % filled_.size()] = {folder, buffer};
        WakeConditionVariable(&chunkReady_);
      } else {
        free_.push_back(buffer);  // never more than there are buffers: no allocation
        WakeConditionVariable(&bufferFree_);
      }
      ReleaseSRWLockExclusive(&lock_);
      if (!read) return;
    }
  } catch (...) {
    // Out of memory for the path: the folder yields no more, as if it could not be read.
  }
}

uint64_t* ListingPool::TakeFreeBuffer() {
  while (!cancelled_ && free_.empty()) {
    SleepConditionVariableSRW(&bufferFree_, &lock_, INFINITE, 0);
  }
  if (cancelled_) return nullptr;
  uint64_t* buffer = free_.back();
  free_.pop_back();
  return buffer;
}

void ListingPool::List(std::span<const std::wstring> folders, const BatchEntrySink& sink) {
  AcquireSRWLockExclusive(&lock_);
  folders_ = folders;
  next_ = 0;
  busy_ = static_cast<unsigned>(threads_.size());
  cancelled_ = false;
  ++batch_;
  WakeAllConditionVariable(&batchReady_);
  for (;;) {
    while (filledCount_ == 0 && busy_ > 0) {
      SleepConditionVariableSRW(&chunkReady_, &lock_, INFINITE, 0);
    }
    if (filledCount_ == 0) break;
    Chunk chunk = filled_[filledHead_];
    filledHead_ = (filledHead_ + 1) % filled_.size();
    --filledCount_;
    ReleaseSRWLockExclusive(&lock_);
    try {
      ForEachEntry(chunk.buffer, [&](const DirEntry& entry) { sink(chunk.folder, entry); });
    } catch (...) {
      AcquireSRWLockExclusive(&lock_);
      free_.push_back(chunk.buffer);
      Cancel();
      ReleaseSRWLockExclusive(&lock_);
      throw;
    }
    AcquireSRWLockExclusive(&lock_);
    free_.push_back(chunk.buffer);
    WakeConditionVariable(&bufferFree_);
  }
  ReleaseSRWLockExclusive(&lock_);
}

void ListingPool::Cancel() {
  cancelled_ = true;
  WakeAllConditionVariable(&bufferFree_);
  for (;;) {
    for (; filledCount_ > 0; --filledCount_) {
      free_.push_back(filled_[filledHead_].buffer);
      filledHead_ = (filledHead_ + 1) % filled_.size();
    }
    if (busy_ == 0) break;
    SleepConditionVariableSRW(&chunkReady_, &lock_, INFINITE, 0);
  }
}

Win32FileSystem::Win32FileSystem(ListingOptions options) : options_(options) {
  options_.bufferBytes = std::max(options_.bufferBytes, kMinListingBuffer) / 8 * 8;
}

Win32FileSystem::~Win32FileSystem() = default;

void Win32FileSystem::ListFolders(std::span<const std::wstring> folders,
                                  const BatchEntrySink& sink) {
  // A lone folder is listed quicker here than handed to another thread.
  if (options_.workers == 0 || folders.size() < 2) return FileSystem::ListFolders(folders, sink);
  if (!pool_) pool_ = std::make_unique<ListingPool>(options_);
  if (!pool_->Started()) return FileSystem::ListFolders(folders, sink);
  pool_->List(folders, sink);
}

}  // namespace tessel::win32
