// Batches of folders listed on a few threads. Under Wine most of a listing is waiting on the
// wineserver (open, fd, close), which another thread's directory read can overlap. The entries
// go back to the calling thread in the listing buffers themselves, so a batch holds at most two
// buffers per thread whatever the folders hold. The calling thread is the user-interface thread:
// while it waits for buffers it asks the stop check every few tens of milliseconds.
#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "platform/win32/folder_reader.h"
#include "platform/win32/win32_platform.h"

namespace tessel::win32 {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kStopCheckEvery = std::chrono::milliseconds(20);

// A slim reader/writer lock, held exclusively through std::unique_lock. Under Wine it and its
// condition variables wait in the process's own memory, where winpthreads' std::mutex and
// std::condition_variable go to the wineserver on every wait: five times slower per hand-over.
class Lock {
 public:
  void lock() { AcquireSRWLockExclusive(&srw_); }
  void unlock() { ReleaseSRWLockExclusive(&srw_); }
  SRWLOCK* Native() { return &srw_; }

 private:
  SRWLOCK srw_ = SRWLOCK_INIT;
};

using Held = std::unique_lock<Lock>;

class Condition {
 public:
  void WakeOne() { WakeConditionVariable(&cv_); }
  void WakeAll() { WakeAllConditionVariable(&cv_); }
  // One wait; it may end without a wake-up.
  void Sleep(Held& held, DWORD ms = INFINITE) {
    SleepConditionVariableSRW(&cv_, held.mutex()->Native(), ms, 0);
  }
  template <class Ready>
  void Wait(Held& held, Ready ready) {
    while (!ready()) Sleep(held);
  }
  // False when `deadline` (Clock::time_point::max(): none) came first.
  template <class Ready>
  bool WaitUntil(Held& held, Clock::time_point deadline, Ready ready) {
    while (!ready()) {
      auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) return false;
      Sleep(held, static_cast<DWORD>(std::min<long long>(left, INFINITE)));
    }
    return true;
  }

 private:
  CONDITION_VARIABLE cv_ = CONDITION_VARIABLE_INIT;
};

}  // namespace

class ListingPool {
 public:
  explicit ListingPool(const ListingOptions& options);
  ~ListingPool();
  ListingPool(const ListingPool&) = delete;
  ListingPool& operator=(const ListingPool&) = delete;

  bool Started() const { return !threads_.empty(); }
  // Returns once every thread is idle again, however the batch ends (listed, stopped, or the sink
  // throwing): no listing runs past it.
  bool List(std::span<const std::wstring> folders, const BatchEntrySink& sink,
            const StopCheck& stop);

 private:
  struct Chunk {
    size_t folder;
    uint64_t* buffer;
  };

  void Work(const std::stop_token& quit);
  void ListOne(size_t folder);
  uint64_t* TakeFreeBuffer(Held& held);  // nullptr when the batch is cancelled
  Chunk TakeFilled();
  void CancelBatch(Held& held);  // ends the batch early and waits for the threads

  const DWORD bufferBytes_;
  const bool shortReadEnds_;
  Lock lock_;
  Condition batchReady_;  // threads: a batch, or quit
  Condition bufferFree_;  // threads: a buffer to read into, or the batch cancelled
  Condition chunkReady_;  // caller: entries, or every thread idle
  std::vector<std::unique_ptr<uint64_t[]>> storage_;
  std::vector<uint64_t*> free_;
  std::vector<Chunk> filled_;  // a ring as long as there are buffers, so no thread allocates
  size_t filledHead_ = 0, filledCount_ = 0;
  std::span<const std::wstring> folders_;
  size_t next_ = 0;     // the next folder of the batch to take
  unsigned busy_ = 0;   // threads not yet done with the batch
  uint64_t batch_ = 0;  // counts batches, so a thread takes each once
  bool cancelled_ = false;
  std::vector<std::jthread> threads_;  // last: destroyed (joined) first
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
    try {
      threads_.emplace_back([this](const std::stop_token& quit) { Work(quit); });
    } catch (const std::system_error&) {
      break;  // fewer threads; none at all lists on the calling thread
    }
  }
}

ListingPool::~ListingPool() {
  for (std::jthread& thread : threads_) thread.request_stop();
  Held held(lock_);
  batchReady_.WakeAll();
}

void ListingPool::Work(const std::stop_token& quit) {
  uint64_t done = 0;
  Held held(lock_);
  for (;;) {
    batchReady_.Wait(held, [&] { return quit.stop_requested() || batch_ != done; });
    if (quit.stop_requested()) return;
    done = batch_;
    while (!cancelled_ && next_ < folders_.size()) {
      size_t folder = next_++;
      held.unlock();
      ListOne(folder);
      held.lock();
    }
    if (--busy_ == 0) chunkReady_.WakeOne();
  }
}

void ListingPool::ListOne(size_t folder) {
  try {
    FolderReader reader(folders_[folder], shortReadEnds_);
    if (!reader.Opened()) return;
    for (;;) {
      uint64_t* buffer = nullptr;
      {
        Held held(lock_);
        buffer = TakeFreeBuffer(held);
      }
      if (!buffer) return;
      bool read = reader.Read(buffer, bufferBytes_);
      Held held(lock_);
      if (!read) {
        free_.push_back(buffer);  // never more than there are buffers: no allocation
        bufferFree_.WakeOne();
        return;
      }
      filled_[(filledHead_ + filledCount_++) % filled_.size()] = {folder, buffer};
      chunkReady_.WakeOne();
    }
  } catch (...) {
    // Out of memory for the path: the folder yields no more, as if it could not be read.
  }
}

uint64_t* ListingPool::TakeFreeBuffer(Held& held) {
  bufferFree_.Wait(held, [&] { return cancelled_ || !free_.empty(); });
  if (cancelled_) return nullptr;
  uint64_t* buffer = free_.back();
  free_.pop_back();
  return buffer;
}

ListingPool::Chunk ListingPool::TakeFilled() {
  Chunk chunk = filled_[filledHead_];
  filledHead_ = (filledHead_ + 1) % filled_.size();
  --filledCount_;
  return chunk;
}

bool ListingPool::List(std::span<const std::wstring> folders, const BatchEntrySink& sink,
                       const StopCheck& stop) {
  Held held(lock_);
  folders_ = folders;
  next_ = 0;
  busy_ = static_cast<unsigned>(threads_.size());
  cancelled_ = false;
  ++batch_;
  batchReady_.WakeAll();
  uint64_t* inHand = nullptr;  // a buffer the sink is reading, outside the lock
  try {
    auto nextCheck = stop ? Clock::now() + kStopCheckEvery : Clock::time_point::max();
    for (;;) {
      chunkReady_.WaitUntil(held, nextCheck, [&] { return filledCount_ > 0 || busy_ == 0; });
      if (Clock::now() >= nextCheck) {
        held.unlock();
        bool stopNow = stop();
        held.lock();
        if (stopNow) {
          CancelBatch(held);
          return false;
        }
        nextCheck = Clock::now() + kStopCheckEvery;
        continue;
      }
      if (filledCount_ == 0) return true;  // every thread is done with the batch
      Chunk chunk = TakeFilled();
      inHand = chunk.buffer;
      held.unlock();
      ForEachEntry(chunk.buffer, [&](const DirEntry& entry) { sink(chunk.folder, entry); });
      held.lock();
      free_.push_back(std::exchange(inHand, nullptr));
      bufferFree_.WakeOne();
    }
  } catch (...) {
    if (!held.owns_lock()) held.lock();
    if (inHand) free_.push_back(inHand);
    CancelBatch(held);
    throw;
  }
}

void ListingPool::CancelBatch(Held& held) {
  cancelled_ = true;
  bufferFree_.WakeAll();
  for (;;) {
    // What the threads read meanwhile is dropped as it comes.
    while (filledCount_ > 0) free_.push_back(TakeFilled().buffer);
    if (busy_ == 0) return;
    chunkReady_.Sleep(held);
  }
}

Win32FileSystem::Win32FileSystem(ListingOptions options) : options_(options) {
  options_.bufferBytes = std::max(options_.bufferBytes, kMinListingBuffer) / 8 * 8;
}

Win32FileSystem::~Win32FileSystem() = default;

bool Win32FileSystem::ListFolders(std::span<const std::wstring> folders, const BatchEntrySink& sink,
                                  const StopCheck& stop) {
  // A lone folder is listed quicker here than handed to another thread.
  if (options_.workers == 0 || folders.size() < 2) {
    return FileSystem::ListFolders(folders, sink, stop);
  }
  if (!pool_) pool_ = std::make_unique<ListingPool>(options_);
  if (!pool_->Started()) return FileSystem::ListFolders(folders, sink, stop);
  return pool_->List(folders, sink, stop);
}

}  // namespace tessel::win32
