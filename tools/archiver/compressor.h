// Deflates the files of a run on all cores and hands the results back in file order, so that the
// archive is written sequentially while the next files are already being compressed.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tessel::archiver {

struct FileJob {
  std::filesystem::path path;
  uint64_t size = 0;  // as found by the scan; the file is read up to this size
};

// One piece of a file. Large files are cut into pieces compressed independently; each piece but
// the last ends on a byte boundary without a final block, so the pieces simply follow each other.
struct Chunk {
  size_t file = 0;
  bool first = false;
  bool last = false;
  bool ok = true;
  std::string error;    // why the file could not be read
  bool stored = false;  // a whole small file that deflate could not shrink: data holds it as it is
  std::string data;
  uint32_t crc = 0;  // of this piece's raw bytes
  uint64_t rawSize = 0;
};

class Compressor {
 public:
  Compressor(std::vector<FileJob> jobs, int level, unsigned threads);
  ~Compressor();
  Compressor(const Compressor&) = delete;
  Compressor& operator=(const Compressor&) = delete;

  // The next piece in file order; false once every piece has been handed out.
  bool Next(Chunk* chunk);

  static constexpr uint64_t kChunkSize = 1 << 20;

 private:
  struct Piece {
    size_t file;
    uint64_t offset;
    uint64_t length;
    bool first;
    bool last;
  };
  struct Slot {
    bool ready = false;
    Chunk chunk;
  };

  struct Worker;  // one thread's zlib streams and buffers
  void Work();
  Chunk Compress(const Piece& piece, Worker& worker);

  std::vector<FileJob> jobs_;
  std::vector<Piece> pieces_;
  int level_;
  std::vector<Slot> slots_;  // ring of results; bounds how far the workers run ahead
  size_t next_ = 0;          // next piece a worker takes
  size_t delivered_ = 0;     // next piece Next hands out
  uint64_t ahead_ = 0;       // bytes of the pieces taken and not yet handed out
  bool stopping_ = false;
  std::mutex mutex_;
  std::condition_variable work_;
  std::condition_variable done_;
  std::vector<std::thread> threads_;
};

}  // namespace tessel::archiver
