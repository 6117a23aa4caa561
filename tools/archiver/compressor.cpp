// Parallel raw deflate of file pieces, delivered in order.
#include "compressor.h"

#include <zlib.h>

#include <algorithm>

#include "file_io.h"

namespace tessel::archiver {

namespace {

constexpr size_t kWindow = 32 << 10;  // deflate's history: each piece is primed with it
// How far the workers may run ahead of the writer: by bytes, so that many small files can be
// compressed while the writer copies a large stretch of an old archive, and by count.
constexpr uint64_t kAheadBytes = 32 << 20;
constexpr size_t kSlots = 1024;

}  // namespace

Compressor::Compressor(std::vector<FileJob> jobs, int level, unsigned threads)
    : jobs_(std::move(jobs)), level_(level), slots_(kSlots) {
  for (size_t f = 0; f < jobs_.size(); ++f) {
    uint64_t size = jobs_[f].size;
    uint64_t offset = 0;
    do {
      uint64_t length = std::min(size - offset, kChunkSize);
      pieces_.push_back({f, offset, length, offset == 0, offset + length == size});
      offset += length;
    } while (offset < size);
  }
  threads = std::max(1u, std::min(threads, 16u));
  for (unsigned i = 0; i < threads; ++i) threads_.emplace_back([this] { Work(); });
}

Compressor::~Compressor() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  work_.notify_all();
  for (std::thread& t : threads_) t.join();
}

bool Compressor::Next(Chunk* chunk) {
  std::unique_lock lock(mutex_);
  if (delivered_ >= pieces_.size()) return false;
  Slot& slot = slots_[delivered_ % slots_.size()];
  done_.wait(lock, [&] { return slot.ready; });
  *chunk = std::move(slot.chunk);
  slot.ready = false;
  ahead_ -= pieces_[delivered_].length;
  ++delivered_;
  lock.unlock();
  work_.notify_all();
  return true;
}

// Deflate gains nothing on data that is already compressed (photos, videos, archives) and is at
// its slowest there. A quick trial on a sample sends such pieces through level 0, which only
// frames the bytes as stored blocks of the same deflate stream.
struct Compressor::Worker {
  z_stream main{};
  z_stream store{};
  z_stream probe{};
  bool ready = false;
  std::string raw, out;  // reused: fresh megabyte buffers would cost a page fault per 4 KiB

  explicit Worker(int level) {
    ready = deflateInit2(&main, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK &&
            deflateInit2(&store, 0, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK &&
            deflateInit2(&probe, 1, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
  }
  ~Worker() {
    deflateEnd(&main);
    deflateEnd(&store);
    deflateEnd(&probe);
  }

  bool Incompressible(const Bytef* data, size_t length) {
    constexpr size_t kSample = 16 << 10;
    if (length < 4 * kSample) return false;
    deflateReset(&probe);
    out.resize(std::max<size_t>(out.size(), deflateBound(&probe, kSample)));
    probe.next_in = const_cast<Bytef*>(data + (length - kSample) / 2);  // past any file header
    probe.avail_in = kSample;
    probe.next_out = reinterpret_cast<Bytef*>(out.data());
    probe.avail_out = static_cast<uInt>(out.size());
    deflate(&probe, Z_FINISH);
    return out.size() - probe.avail_out > kSample * 97 / 100;
  }
};

void Compressor::Work() {
  Worker worker(level_);
  while (true) {
    size_t index;
    {
      std::unique_lock lock(mutex_);
      work_.wait(lock, [&] {
        return stopping_ || next_ >= pieces_.size() ||
               (next_ < delivered_ + slots_.size() &&
                (ahead_ == 0 || ahead_ + pieces_[next_].length <= kAheadBytes));
      });
      if (stopping_ || next_ >= pieces_.size()) break;
      index = next_++;
      ahead_ += pieces_[index].length;
    }
    Chunk chunk;
    if (worker.ready) {
      chunk = Compress(pieces_[index], worker);
    } else {
      chunk.ok = false;
      chunk.error = "out of memory for compression";
    }
    chunk.file = pieces_[index].file;
    chunk.first = pieces_[index].first;
    chunk.last = pieces_[index].last;
    {
      std::lock_guard lock(mutex_);
      Slot& slot = slots_[index % slots_.size()];
      slot.chunk = std::move(chunk);
      slot.ready = true;
    }
    done_.notify_all();
  }
}

Chunk Compressor::Compress(const Piece& piece, Worker& worker) {
  std::string& raw = worker.raw;
  std::string& out = worker.out;
  Chunk chunk;
  std::string error;
  std::unique_ptr<InputFile> file = InputFile::Open(jobs_[piece.file].path, &error);
  // Each piece reads the end of the one before as its dictionary, so cutting costs little ratio.
  size_t history = static_cast<size_t>(std::min<uint64_t>(piece.offset, kWindow));
  raw.resize(history + piece.length);
  if (!file || !file->ReadExact(piece.offset - history, raw.data(), raw.size(), &error)) {
    chunk.ok = false;
    chunk.error = error;
    return chunk;
  }
  const auto* input = reinterpret_cast<const Bytef*>(raw.data());
  chunk.rawSize = piece.length;
  chunk.crc = static_cast<uint32_t>(crc32(0, input + history, static_cast<uInt>(piece.length)));
  bool single = piece.first && piece.last;
  if (single && piece.length == 0) {
    chunk.stored = true;
    return chunk;
  }
  bool incompressible = worker.Incompressible(input + history, piece.length);
  if (single && incompressible) {
    chunk.stored = true;
    chunk.data = raw;
    return chunk;
  }
  z_stream& stream = incompressible ? worker.store : worker.main;
  deflateReset(&stream);
  if (history > 0) deflateSetDictionary(&stream, input, static_cast<uInt>(history));
  size_t bound = deflateBound(&stream, static_cast<uLong>(piece.length)) + 64;  // + sync marker
  if (out.size() < bound) out.resize(bound);
  stream.next_in = const_cast<Bytef*>(input + history);
  stream.avail_in = static_cast<uInt>(piece.length);
  size_t produced = 0;
  int flush = piece.last ? Z_FINISH : Z_SYNC_FLUSH;
  while (true) {
    stream.next_out = reinterpret_cast<Bytef*>(out.data() + produced);
    stream.avail_out = static_cast<uInt>(out.size() - produced);
    int status = deflate(&stream, flush);
    produced = out.size() - stream.avail_out;
    bool finished =
        piece.last ? status == Z_STREAM_END : stream.avail_in == 0 && stream.avail_out > 0;
    if (finished) break;
    if (status != Z_OK && status != Z_BUF_ERROR) {
      chunk.ok = false;
      chunk.error = "compression failed";
      return chunk;
    }
    out.resize(out.size() * 2);
  }
  chunk.data.assign(out, 0, produced);
  if (single && chunk.data.size() >= piece.length) {
    chunk.stored = true;
    chunk.data = raw.substr(history);
  }
  return chunk;
}

}  // namespace tessel::archiver
