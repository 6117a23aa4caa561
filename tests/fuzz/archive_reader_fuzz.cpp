// The stand-in archiver's reader of an existing archive on arbitrary bytes: truncated, corrupt,
// hostile zip64 fields. It must neither crash nor read outside the file, and whatever it accepts
// must describe data that lies inside the file.
#include <cstdlib>
#include <cstring>

#include "archive_reader.h"

using namespace tessel::archiver;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

struct Bytes : RandomAccess {
  const uint8_t* data;
  size_t size;
  Bytes(const uint8_t* d, size_t s) : data(d), size(s) {}
  uint64_t Size() const override { return size; }
  bool ReadExact(uint64_t offset, void* buffer, size_t length, std::string*) override {
    Require(offset <= size && length <= size - offset);  // the reader checks before it reads
    if (length) std::memcpy(buffer, data + offset, length);
    return true;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes file(data, size);
  ReadResult read = ReadArchive(file);
  Require(read.ok == read.error.empty());
  if (!read.ok) return 0;
  Require(read.contents.comment.size() <= kMax16);
  Require(read.contents.entries.size() <= size / kCentralHeaderSize);
  for (const Entry& e : read.contents.entries) {
    Require(e.dataEnd <= size && e.compressedSize <= e.dataEnd);
    Require(e.dataEnd - e.compressedSize >= e.localOffset + kLocalHeaderSize);
  }
  return 0;
}
