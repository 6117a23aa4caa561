// The platform-independent half of the output file: buffering, patching and truncation.
#include "file_io.h"

#include <algorithm>
#include <cstring>
#include <regex>

namespace tessel::archiver {

namespace {

constexpr size_t kReadAhead = 256 << 10;

}  // namespace

// Small reads come from a window read ahead: walking an old archive's headers and copying its
// small entries then costs few system calls, each of which is a round trip to the server on Wine.
bool InputFile::ReadExact(uint64_t offset, void* buffer, size_t length, std::string* error) {
  if (length >= kReadAhead || offset > size_ || length > size_ - offset) {
    return ReadAt(offset, buffer, length, error);
  }
  if (offset < window_start_ || offset + length > window_start_ + window_.size()) {
    window_.resize(static_cast<size_t>(std::min<uint64_t>(kReadAhead, size_ - offset)));
    window_start_ = offset;
    if (!ReadAt(offset, window_.data(), window_.size(), error)) {
      window_.clear();
      return false;
    }
  }
  std::memcpy(buffer, window_.data() + (offset - window_start_), length);
  return true;
}

bool OutputFile::Fail(std::string what) {
  if (error_.empty()) error_ = std::move(what);
  return false;
}

bool OutputFile::Flush() {
  if (buffered_ == 0) return error_.empty();
  bool ok = WriteAt(buffer_start_, buffer_.get(), buffered_);
  buffer_start_ += buffered_;
  buffered_ = 0;
  return ok;
}

// Fills the buffer `length` bytes at a time as room allows, flushing it whenever it is full;
// `fill(to, count, done)` puts the `count` bytes that follow the first `done` at `to`.
template <typename Fill>
bool OutputFile::FillBuffer(uint64_t length, Fill fill) {
  if (!error_.empty()) return false;
  for (uint64_t done = 0; done < length;) {
    if (buffered_ == kBufferBytes && !Flush()) return false;
    size_t take = static_cast<size_t>(std::min<uint64_t>(length - done, kBufferBytes - buffered_));
    if (!fill(buffer_.get() + buffered_, take, done)) return false;
    buffered_ += take;
    position_ += take;
    done += take;
  }
  return true;
}

bool OutputFile::Append(std::string_view bytes) {
  return FillBuffer(bytes.size(), [&](char* to, size_t count, uint64_t done) {
    std::memcpy(to, bytes.data() + done, count);
    return true;
  });
}

bool OutputFile::AppendFrom(RandomAccess& from, uint64_t offset, uint64_t length,
                            std::string* readError) {
  return FillBuffer(length, [&](char* to, size_t count, uint64_t done) {
    return from.ReadExact(offset + done, to, count, readError);
  });
}

bool OutputFile::PatchAt(uint64_t offset, std::string_view bytes) {
  if (!error_.empty()) return false;
  if (offset >= buffer_start_ && offset + bytes.size() <= buffer_start_ + buffered_) {
    std::memcpy(buffer_.get() + (offset - buffer_start_), bytes.data(), bytes.size());
    return true;
  }
  if (offset + bytes.size() > buffer_start_ && !Flush()) return false;
  return WriteAt(offset, bytes.data(), bytes.size());
}

bool OutputFile::TruncateTo(uint64_t offset) {
  if (offset >= buffer_start_) {
    buffered_ = static_cast<size_t>(offset - buffer_start_);
  } else {
    buffered_ = 0;
    buffer_start_ = offset;
  }
  position_ = offset;
  return error_.empty();
}

std::vector<fs::path> RemoveLeftovers(const fs::path& target) {
  static const std::regex kTemporary(R"(\.\d{1,10}-\d{1,10}-\d{1,10}\.tmp)");
  std::string archive = PathToUtf8(target.filename());
  fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  std::vector<fs::path> found, removed;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = PathToUtf8(it->path().filename());
    // A folder or link of that name is not one of ours.
    std::error_code statusError;
    if (name.starts_with(archive) &&
        it->symlink_status(statusError).type() == fs::file_type::regular &&
        std::regex_match(name.begin() + archive.size(), name.end(), kTemporary)) {
      found.push_back(it->path());
    }
  }
  for (const fs::path& path : found) {
    if (RemoveUnlessInUse(path)) removed.push_back(path);
  }
  return removed;
}

}  // namespace tessel::archiver
