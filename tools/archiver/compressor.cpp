// Parallel raw deflate of file pieces, delivered in order.
#include "compressor.h"

#include <zlib.h>

#include <algorithm>

#include "file_io.h"

namespace tessel::archiver {

namespace {

constexpr size_t kWindow = 32 << 10;  // deflate's history: each piece is primed with it
constexpr size_t kSlots = 32;

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
  ++delivered_;
  lock.unlock();
  work_.notify_all();
  return true;
}

void Compressor::Work() {
  z_stream stream{};
  bool ready = deflateInit2(&stream, level_, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
  while (true) {
    size_t index;
    {
      std::unique_lock lock(mutex_);
      work_.wait(lock, [&] {
        return stopping_ || next_ >= pieces_.size() || next_ < delivered_ + slots_.size();
      });
      if (stopping_ || next_ >= pieces_.size()) break;
      index = next_++;
    }
    Chunk chunk;
    if (ready) {
      chunk = Compress(pieces_[index], stream);
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
  if (ready) deflateEnd(&stream);
}

Chunk Compressor::Compress(const Piece& piece, z_stream& stream) {
  Chunk chunk;
  std::string error;
  std::unique_ptr<InputFile> file = InputFile::Open(jobs_[piece.file].path, &error);
  // Each piece reads the end of the one before as its dictionary, so cutting costs little ratio.
  size_t history = static_cast<size_t>(std::min<uint64_t>(piece.offset, kWindow));
  std::string raw(history + piece.length, '\0');
  if (!file || !file->ReadExact(piece.offset - history, raw.data(), raw.size(), &error)) {
    chunk.ok = false;
    chunk.error = error;
    return chunk;
  }
  const auto* input = reinterpret_cast<const Bytef*>(raw.data());
  chunk.rawSize = piece.length;
  chunk.crc = static_cast<uint32_t>(crc32(0, input + history, static_cast<uInt>(piece.length)));
  if (piece.first && piece.last && piece.length == 0) {
    chunk.stored = true;
    return chunk;
  }
  deflateReset(&stream);
  if (history > 0) deflateSetDictionary(&stream, input, static_cast<uInt>(history));
  chunk.data.resize(deflateBound(&stream, static_cast<uLong>(piece.length)) + 64);
  stream.next_in = const_cast<Bytef*>(input + history);
  stream.avail_in = static_cast<uInt>(piece.length);
  size_t produced = 0;
  int flush = piece.last ? Z_FINISH : Z_SYNC_FLUSH;
  while (true) {
    stream.next_out = reinterpret_cast<Bytef*>(chunk.data.data() + produced);
    stream.avail_out = static_cast<uInt>(chunk.data.size() - produced);
    int status = deflate(&stream, flush);
    produced = chunk.data.size() - stream.avail_out;
    bool finished =
        piece.last ? status == Z_STREAM_END : stream.avail_in == 0 && stream.avail_out > 0;
    if (finished) break;
    if (status != Z_OK && status != Z_BUF_ERROR) {
      chunk.ok = false;
      chunk.error = "compression failed";
      return chunk;
    }
    chunk.data.resize(chunk.data.size() * 2);
  }
  chunk.data.resize(produced);
  if (piece.first && piece.last && chunk.data.size() >= piece.length) {
    chunk.stored = true;
    chunk.data = raw.substr(history);
  }
  return chunk;
}

}  // namespace tessel::archiver
