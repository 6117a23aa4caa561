// The stand-in archiver's reader of an existing archive on arbitrary bytes: truncated, corrupt,
// hostile zip64 fields. It must neither crash nor read outside the file, and whatever it accepts
// must describe data that lies inside the file, before the central directory.
#include <cstdlib>
#include <cstring>

#include "archive_reader.h"

using namespace tessel::archiver;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

class Bytes : public RandomAccess {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint64_t Size() const override { return size_; }
  bool ReadExact(uint64_t offset, void* buffer, size_t length, std::string* error) override {
    // Out-of-range reads are the reader's bug, not the file's: stop at once.
    Require(offset <= size_ && length <= size_ - offset);
    if (length) std::memcpy(buffer, data_ + offset, length);
    (void)error;
    return true;
  }

 private:
  const uint8_t* data_;
  size_t size_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes file(data, size);
  ReadResult read = ReadArchive(file);
  if (!read.ok) {
    Require(!read.error.empty());
    return 0;
  }
  Require(read.contents.comment.size() <= kMax16);
  Require(read.contents.entries.size() <= size / kCentralHeaderSize);
  for (const Entry& e : read.contents.entries) {
    Require(e.localOffset <= size && size - e.localOffset >= kLocalHeaderSize);
    Require(e.dataEnd <= size && e.compressedSize <= e.dataEnd);
    Require(e.dataEnd - e.compressedSize >= e.localOffset + kLocalHeaderSize);
    Require(e.name.size() <= kMax16 && e.extra.size() <= kMax16 && e.comment.size() <= kMax16);
  }
  return 0;
}
