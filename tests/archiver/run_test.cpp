// Whole runs on real folders: update semantics over repeated runs, files that cannot be read, and
// archives that must be left as they are.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>

#include "run.h"
#include "test_zip.h"

namespace tessel::archiver {
namespace {

namespace fs = std::filesystem;
using test::Content;
using test::FindEntry;
using test::ReadBytes;
using test::ReadZip;
using test::StoredData;
using test::WriteFile;

struct Outcome {
  int code;
  std::string out, err;
};

Outcome Archive(const fs::path& archive, const fs::path& source, bool update = true,
                bool paths = true, bool recurse = true) {
  Request request{update, paths, recurse, archive.string(), source.string() + "/"};
  std::ostringstream out, err;
  int code = RunArchiver(request, RunOptions{6, 2}, out, err);
  return {code, out.str(), err.str()};
}

std::string Text(size_t size, char seed) {
  std::string text;
  while (text.size() < size) text += "line " + std::to_string(text.size() * seed) + " of text\n";
  text.resize(size);
  return text;
}

class RunTest : public ::testing::Test {
 protected:
  test::ScratchFolder scratch_;
  fs::path src_ = scratch_ / "src";
  fs::path zip_ = scratch_ / "out" / "backup.zip";
  void SetUp() override { fs::create_directories(zip_.parent_path()); }
};

TEST_F(RunTest, UpdatesOverRepeatedRuns) {
  const int64_t t = 1262304000;                      // 2010-01-01
  WriteFile(src_ / "big.txt", Text(3 << 20, 3), t);  // several compression pieces
  WriteFile(src_ / "same.txt", "unchanged", t);
  WriteFile(src_ / "newer.txt", "version 1", t);
  WriteFile(src_ / "resized.txt", "short", t);
  WriteFile(src_ / "older.txt", "original", t);
  WriteFile(src_ / "sub" / "été.txt", "accents", t);
  fs::create_directories(src_ / "empty");

  Outcome first = Archive(zip_, src_);
  ASSERT_EQ(first.code, kExitOk) << first.err;
  ArchiveContents before = ReadZip(zip_);
  ASSERT_EQ(before.entries.size(), 7u);
  EXPECT_EQ(Content(zip_, *FindEntry(before, "big.txt")), Text(3 << 20, 3));
  EXPECT_TRUE(FindEntry(before, "sub/été.txt")->flags & kFlagUtf8);
  EXPECT_EQ(FindEntry(before, "empty/")->uncompressedSize, 0u);
  fs::path firstArchive = scratch_ / "first.zip";
  fs::copy_file(zip_, firstArchive);

  fs::remove(src_ / "big.txt");
  WriteFile(src_ / "newer.txt", "version 2", t + 60);
  WriteFile(src_ / "resized.txt", "much longer", t);
  WriteFile(src_ / "older.txt", "restored", t - 60);  // same size, older: not an update
  WriteFile(src_ / "added.txt", "new", t);
  Outcome second = Archive(zip_, src_);
  ASSERT_EQ(second.code, kExitOk) << second.err;
  EXPECT_NE(second.out.find("1 added, 2 replaced, 5 kept"), std::string::npos) << second.out;

  ArchiveContents after = ReadZip(zip_);
  std::vector<std::string> names;
  for (const Entry& e : after.entries) names.push_back(e.name);
  EXPECT_EQ(names,
            (std::vector<std::string>{"big.txt", "empty/", "newer.txt", "older.txt", "resized.txt",
                                      "same.txt", "sub/été.txt", "added.txt"}));
  struct {
    const char* name;
    std::string content;
  } expected[] = {
      {"big.txt", Text(3 << 20, 3)},  // its file is gone: the archive keeps what it held
      {"newer.txt", "version 2"},    {"resized.txt", "much longer"}, {"older.txt", "original"},
      {"same.txt", "unchanged"},     {"added.txt", "new"},
  };
  for (const auto& e : expected) {
    EXPECT_EQ(Content(zip_, *FindEntry(after, e.name)), e.content) << e.name;
  }
  for (const char* kept : {"big.txt", "same.txt", "older.txt"}) {
    EXPECT_EQ(StoredData(zip_, *FindEntry(after, kept)),
              StoredData(firstArchive, *FindEntry(before, kept)))
        << kept << " must be copied, not recompressed";
  }

  std::string bytes = ReadBytes(zip_);
  Outcome third = Archive(zip_, src_);
  EXPECT_EQ(third.code, kExitOk) << third.err;
  EXPECT_NE(third.out.find("up to date"), std::string::npos) << third.out;
  EXPECT_EQ(ReadBytes(zip_), bytes);
}

TEST_F(RunTest, LeavesWhatIsNotAnArchiveAlone) {
  WriteFile(src_ / "a.txt", "a");
  ASSERT_EQ(Archive(zip_, src_).code, kExitOk);
  std::string good = ReadBytes(zip_);
  struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"text file", "not a zip file at all\n"},
      {"empty file", ""},
      {"archive cut short", good.substr(0, good.size() - 5)},
      {"archive missing its start", good.substr(10)},
  };
  for (const auto& c : cases) {
    WriteFile(zip_, c.bytes);
    Outcome run = Archive(zip_, src_);
    EXPECT_EQ(run.code, kExitFailed) << c.what;
    EXPECT_NE(run.err.find("left as it is"), std::string::npos) << c.what << ": " << run.err;
    EXPECT_EQ(ReadBytes(zip_), c.bytes) << c.what;
    EXPECT_EQ(std::distance(fs::directory_iterator(zip_.parent_path()), {}), 1)
        << c.what << ": a temporary file was left behind";
  }
}

TEST_F(RunTest, WritesNothingWithoutSourceOrDestination) {
  EXPECT_EQ(Archive(zip_, scratch_ / "missing").code, kExitFailed);
  EXPECT_FALSE(fs::exists(zip_));
  WriteFile(src_ / "a.txt", "a");
  EXPECT_EQ(Archive(scratch_ / "no-such-folder" / "a.zip", src_).code, kExitFailed);
  EXPECT_EQ(Archive(src_, src_).code, kExitFailed) << "a folder at the archive path";
}

TEST_F(RunTest, SkipsWhatCannotBeReadAndArchivesTheRest) {
  WriteFile(src_ / "a.txt", "a");
  ASSERT_EQ(::mkfifo((src_ / "pipe").c_str(), 0600), 0);
  fs::create_symlink(src_ / "vanished", src_ / "dangling");
  fs::create_directory_symlink(src_, src_ / "loop");  // a link back up must not be followed
  Outcome run = Archive(zip_, src_);
  EXPECT_EQ(run.code, kExitSkipped);
  EXPECT_NE(run.err.find("pipe"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("dangling"), std::string::npos) << run.err;
  ArchiveContents contents = ReadZip(zip_);
  ASSERT_EQ(contents.entries.size(), 1u);
  EXPECT_EQ(contents.entries[0].name, "a.txt");
}

TEST_F(RunTest, NeverArchivesTheArchiveIntoItself) {
  fs::path inside = src_ / "backup.zip";
  WriteFile(src_ / "a.txt", "a");
  ASSERT_EQ(Archive(inside, src_).code, kExitOk);
  WriteFile(src_ / "b.txt", "b");
  ASSERT_EQ(Archive(inside, src_).code, kExitOk);
  ArchiveContents contents = ReadZip(inside);
  EXPECT_EQ(contents.entries.size(), 2u);
  EXPECT_EQ(FindEntry(contents, "backup.zip"), nullptr);
}

TEST_F(RunTest, OptionsForPathsAndSubfolders) {
  WriteFile(src_ / "top.txt", "1");
  WriteFile(src_ / "sub" / "top.txt", "2");
  WriteFile(src_ / "sub" / "deep.txt", "3");
  struct {
    bool paths, recurse;
    int code;
    std::vector<std::string> names;
  } cases[] = {
      {true, true, kExitOk, {"sub/deep.txt", "sub/top.txt", "top.txt"}},
      {true, false, kExitOk, {"top.txt"}},
      {false, true, kExitSkipped, {"deep.txt", "top.txt"}},  // the second top.txt is left out
  };
  for (const auto& c : cases) {
    fs::remove(zip_);
    EXPECT_EQ(Archive(zip_, src_, true, c.paths, c.recurse).code, c.code);
    std::vector<std::string> names;
    for (const Entry& e : ReadZip(zip_).entries) names.push_back(e.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, c.names) << "paths " << c.paths << ", recurse " << c.recurse;
  }
}

TEST_F(RunTest, CopiesEntriesOfOtherWritersAsTheyAre) {
  // A stored entry whose sizes follow its data in a descriptor, with comments and an unknown extra.
  Entry entry;
  entry.name = "other.txt";
  entry.method = kMethodStored;
  entry.flags = kFlagDescriptor;
  entry.crc = 0x3610A686;  // CRC-32 of "hello"
  entry.extra = std::string("\x99\x99\x02\x00xy", 6);
  entry.comment = "entry note";
  Entry local = entry;
  local.crc = 0;
  std::string bytes = EncodeLocalHeader(local, false, "") + "hello";
  entry.compressedSize = entry.uncompressedSize = 5;
  bytes += EncodeDescriptor(entry, false);
  std::string central = EncodeCentralHeader(entry);
  bytes += central + EncodeEnd(1, bytes.size(), central.size(), "archive note");
  WriteFile(zip_, bytes);

  WriteFile(src_ / "new.txt", "new");
  ASSERT_EQ(Archive(zip_, src_).code, kExitOk);
  ArchiveContents contents = ReadZip(zip_);
  ASSERT_EQ(contents.entries.size(), 2u);
  const Entry& copied = contents.entries[0];
  EXPECT_EQ(Content(zip_, copied), "hello");
  EXPECT_EQ(copied.extra, entry.extra);
  EXPECT_EQ(copied.comment, "entry note");
  EXPECT_EQ(contents.comment, "archive note");
  EXPECT_EQ(ReadBytes(zip_).substr(copied.dataEnd, 16), EncodeDescriptor(entry, false));
}

}  // namespace
}  // namespace tessel::archiver
