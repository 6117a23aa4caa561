// The archiver's command line, and whole runs on real folders: what updates add, replace and keep,
// the existing archives they cannot update (damaged, hostile), zip64, and what failing runs leave.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <thread>

#include "archive_reader.h"
#include "compressor.h"
#include "run.h"

namespace tessel::archiver {
namespace {

TEST(ParseCommandLine, ReadsTheLinesBackupsBuildAndRefusesTheRest) {
  // An accepted line gives "<options>|<archive>|<folder>", a refused one "!" and its message.
  const std::pair<std::string, std::string> cases[] = {
      {R"("C:\Program Files\WinZip\wzzip.exe" -u -p -r "D:\Backup Zips\P-2009.zip" "E:\Photos\")",
       R"(upr|D:\Backup Zips\P-2009.zip|E:\Photos\)"},
      {"w\t-u  -p\t-r   \"D:\\a.zip\"   \"C:\\My Docs\\*.*\"  ", R"(upr|D:\a.zip|C:\My Docs\)"},
      {R"(w -U -P -R D:\a.zip E:\Data\*)", R"(upr|D:\a.zip|E:\Data\)"},
      {R"(w -upr "D:\Backups\"x".zip" "E:\")", R"(upr|D:\Backups\x.zip|E:\)"},
      {R"(w -r -r -u a.zip *.*)", "ur|a.zip|."},
      {R"(w -p a.zip /data/photos/)", "p|a.zip|/data/photos/"},
      {R"(w -u -p -r "D:\a.zip" "E:\Photos\)", "!not closed"},
      {R"(w -u -x -r "D:\a.zip" "E:\")", "!unknown option -x"},
      {R"(w -u "D:\a.zip")", "!no source"},
      {R"("C:\w.exe" -u)", "!no archive"},
      {R"(w "D:\a.zip" "E:\" "F:\")", "!unexpected argument"},
      {R"(w "D:\a.zip" -u "E:\")", "!after the archive"},
      {R"(w -u "D:\*.zip" "E:\")", "!wildcards in the archive"},
      {R"(w -u "D:\Backups\" "E:\")", "!is a folder"},
      {R"(w -u "D:\a.zip" "E:\*.txt")", "!*.txt"},
      {R"(w -u "D:\a.zip" "E:\*\x\")", "!wildcards in the source"}};
  for (const auto& [line, expected] : cases) {
    ParseResult p = ParseCommandLine(line);
    std::string got = p.request ? std::string(p.request->update ? "u" : "") +
                                      (p.request->keepPaths ? "p" : "") +
                                      (p.request->recurse ? "r" : "") + "|" + p.request->archive +
                                      "|" + p.request->folder
                                : "!" + p.error;
    bool ok = expected[0] == '!' ? got[0] == '!' && got.find(expected.substr(1)) != got.npos
                                 : got == expected;
    EXPECT_TRUE(ok) << line << "\n  gave " << got;
  }
}

void WriteFile(const fs::path& path, const std::string& bytes, int64_t mtime = 1262304000) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
  fs::last_write_time(path, std::chrono::file_clock::from_sys(std::chrono::sys_seconds() +
                                                              std::chrono::seconds(mtime)));
}

std::string ReadBytes(const fs::path& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

std::string Noise(size_t size) {
  std::independent_bits_engine<std::mt19937, 8, unsigned> random(static_cast<unsigned>(size));
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

ReadResult ReadZip(const fs::path& archive) {
  std::string why;
  std::unique_ptr<InputFile> file = InputFile::Open(archive, &why);
  return file ? ReadArchive(*file) : ReadResult{false, why, {}};
}

// An entry's content, inflated here; its local header and CRC must agree with the directory.
std::string Content(const std::string& zip, const Entry& e) {
  auto* local = reinterpret_cast<const unsigned char*>(&zip[e.localOffset]);
  EXPECT_TRUE(GetU32(local + 14) == e.crc && GetU32(local + 18) == e.compressedSize &&
              GetU32(local + 22) == e.uncompressedSize)
      << e.name;
  std::string data = zip.substr(e.dataEnd - e.compressedSize, e.compressedSize);
  std::string out(e.uncompressedSize, '\0');
  z_stream z{};
  z.next_in = reinterpret_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  bool inflated = inflateInit2(&z, -MAX_WBITS) == Z_OK && inflate(&z, Z_FINISH) == Z_STREAM_END;
  inflateEnd(&z);
  EXPECT_TRUE(e.method == kMethodStored || inflated) << e.name;
  if (e.method == kMethodStored) out = data;
  EXPECT_EQ(crc32(0, reinterpret_cast<const Bytef*>(out.data()), static_cast<uInt>(out.size())),
            e.crc);
  return out;
}

// Entries named 0, 1, ... holding their names. The first claims 4 GiB - 1 uncompressed, the marker
// value itself, which only a zip64 field can hold; the second has both sizes in one, as when its
// local header had them. The end record announces `count` entries.
std::string BuildArchive(size_t entries, uint64_t count, const std::string& comment = "") {
  std::string bytes, central;
  for (size_t i = 0; i < entries; ++i) {
    Entry e;
    e.name = std::to_string(i);
    e.compressedSize = e.name.size();
    e.uncompressedSize = i == 0 ? kMax32 : i == 1 ? 2 : e.compressedSize;
    e.zip64Sizes = i == 1;
    e.localOffset = bytes.size();
    bytes += EncodeLocalHeader(e, false, "") + e.name;
    central += EncodeCentralHeader(e);
  }
  return bytes + central + EncodeEnd(count, bytes.size(), central.size(), comment);
}

std::string With(std::string bytes, size_t at, uint64_t value, int width) {
  for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
  return bytes;
}

class RunTest : public ::testing::Test {
 protected:
  fs::path top_ = fs::temp_directory_path() / ("wzzip-" + std::to_string(std::random_device()()));
  fs::path src_ = top_ / "src", zip_ = top_ / "out" / "backup.zip";
  std::string out_, err_;  // of the last run

  void SetUp() override {
    WriteFile(src_ / "a.txt", "a");
    fs::create_directories(zip_.parent_path());
    fs::permissions(zip_.parent_path(), fs::perms::all);  // for runs as an ordinary user
    setenv("TZ", "EST5", 1);  // MS-DOS times are local times: five hours behind UTC here
    tzset();
  }
  void TearDown() override { fs::remove_all(top_); }
  int Run(bool keepPaths = true) {
    std::ostringstream out, err;
    int code =
        RunArchiver({true, keepPaths, true, zip_.string(), src_.string() + "/"}, {6, 2}, out, err);
    out_ = out.str();
    err_ = err.str();
    return code;
  }
  // A failed run leaves the old archive as it was, and nothing beside it.
  void ExpectLeft(int code, const std::string& before, const std::string& why) {
    EXPECT_EQ(code, kExitFailed) << err_;
    EXPECT_NE(err_.find(why), std::string::npos) << why << "\n  " << err_;
    EXPECT_TRUE(ReadBytes(zip_) == before && err_.ends_with(" was left as it is\n"));
    EXPECT_EQ(std::distance(fs::directory_iterator(zip_.parent_path()), {}), 1);
  }
};

constexpr int64_t kTime = 1243828798;  // 2009-05-31 22:59:58 local time

TEST_F(RunTest, UpdatesAddReplaceAndKeep) {
  // An archive inside the folder it archives, holding an entry of another writer whose CRC and
  // 8-byte sizes follow its data, with comments and an unknown extra.
  fs::remove(src_ / "a.txt");
  zip_ = src_ / "backup.zip";
  Entry other;
  other.name = "other.txt";
  other.method = kMethodStored;
  other.flags = kFlagDescriptor;
  other.crc = 0x3610A686;  // of "hello"
  other.compressedSize = other.uncompressedSize = 5;
  other.extra = std::string("\x99\x99\x02\x00xy", 6);
  other.comment = "entry note";
  std::string eight("\5\0\0\0\0\0\0\0", 8), central = EncodeCentralHeader(other);
  std::string foreign = EncodeLocalHeader(other, true, "") + "hello" +
                        std::string("PK\7\x08\x86\xA6\x10\x36", 8) + eight + eight;
  WriteFile(zip_, foreign + central + EncodeEnd(1, foreign.size(), central.size(), "note"));
  std::string text;
  while (text.size() < (3 << 20)) text += "line " + std::to_string(text.size()) + " of text\n";
  struct File {
    std::string name, content;
    int64_t mtime = kTime;
    uint16_t dosTime = (22 << 11) | (59 << 5) | 29, dosDate = (29 << 9) | (5 << 5) | 31;
  } files[] = {{"big.txt", text},
               {"noise.bin", Noise(5 << 20)},
               {"photo.jpg", Noise(100 << 10)},
               {"zero", ""},
               {"newer.txt", "version 1"},
               {"older.txt", "original"},
               {"resized.txt", "short"},
               {"sub/été.txt", "accents"},
               {"\xF0\x9F\x98\x80", "4 bytes"},
               {"caf\xE9", "not UTF-8"},
               {"1975.txt", "before MS-DOS time", 157766400, 0, 33},
               {"2108.txt", "after", 4367952000, 49021, 65439}};
  for (const File& f : files) WriteFile(src_ / f.name, f.content, f.mtime);
  fs::create_directories(src_ / "empty");
  ASSERT_EQ(Run(), kExitOk);
  ArchiveContents before = ReadZip(zip_).contents;
  std::string firstBytes = ReadBytes(zip_);
  EXPECT_EQ(firstBytes.substr(0, foreign.size()), foreign) << "copied as it was";
  EXPECT_TRUE(firstBytes.find(central) != std::string::npos && before.comment == "note");
  std::map<std::string, const Entry*> byName;
  for (const Entry& e : before.entries) byName[e.name] = &e;
  ASSERT_EQ(byName.size(), std::size(files) + 2);
  struct stat info {};
  ::stat((src_ / "empty").c_str(), &info);
  EXPECT_EQ(byName["empty/"]->externalAttributes, (info.st_mode << 16) | 0x10);
  for (const File& f : files) {
    const Entry& e = *byName[f.name];
    ::stat((src_ / f.name).c_str(), &info);
    EXPECT_TRUE(e.externalAttributes == info.st_mode << 16 && e.versionMadeBy == 0x33F) << f.name;
    EXPECT_EQ(e.flags, f.name[0] == 's' || f.name[0] == '\xF0' ? kFlagUtf8 : 0) << f.name;
    EXPECT_EQ(Content(firstBytes, e), f.content) << f.name;
    EXPECT_EQ(e.method, f.content.size() > (1 << 20) ? kMethodDeflated : kMethodStored);
    EXPECT_EQ(e.mtime, f.mtime < 0x80000000 ? std::optional(f.mtime) : std::nullopt) << f.name;
    EXPECT_TRUE(e.dosTime == f.dosTime && e.dosDate == f.dosDate) << f.name;
  }

  fs::remove(src_ / "big.txt");
  WriteFile(src_ / "newer.txt", "version 2", kTime + 60);
  WriteFile(src_ / "resized.txt", "much longer", kTime);
  WriteFile(src_ / "older.txt", "restored", kTime - 60);  // same size, older: not an update
  WriteFile(src_ / "added.txt", "new", kTime);
  EXPECT_EQ(Run(), kExitOk);
  EXPECT_NE(out_.find(": 1 added, 2 replaced, 12 kept\n"), std::string::npos);
  ArchiveContents after = ReadZip(zip_).contents;
  std::string names, afterBytes = ReadBytes(zip_);
  for (size_t i = 0; i < after.entries.size(); ++i) {
    const Entry &e = after.entries[i], &old = before.entries[std::min(i, std::size(files) + 1)];
    names += e.name + " ";
    if (e.name == "newer.txt" || e.name == "resized.txt" || e.name == "added.txt") continue;
    EXPECT_EQ(afterBytes.substr(e.localOffset, e.dataEnd - e.localOffset),
              firstBytes.substr(old.localOffset, old.dataEnd - old.localOffset))
        << e.name << " must be copied as it was";
  }
  EXPECT_EQ(names,
            "other.txt 1975.txt 2108.txt big.txt caf\xE9 empty/ newer.txt noise.bin older.txt "
            "photo.jpg resized.txt sub/été.txt zero \xF0\x9F\x98\x80 added.txt ");
  for (auto [i, content] : {std::pair{6, "version 2"}, {10, "much longer"}, {14, "new"}}) {
    EXPECT_EQ(Content(afterBytes, after.entries[i]), content);
  }
  EXPECT_TRUE(Run() == kExitOk &&
              out_ == "wzzip: " + zip_.string() + " is up to date (15 entries)\n");
  EXPECT_EQ(ReadBytes(zip_), afterBytes);
}

TEST_F(RunTest, ReadsZip64FieldsAndCountsAndLeavesWhatItCannotUpdate) {
  std::string good = BuildArchive(3, 3, "note");
  WriteFile(zip_, good);
  ReadResult read = ReadZip(zip_);
  ASSERT_TRUE(read.ok && read.contents.entries.size() == 3) << read.error;
  const Entry &first = read.contents.entries[0], &second = read.contents.entries[1];
  EXPECT_TRUE(first.uncompressedSize == kMax32 && !first.zip64Sizes && first.extra.empty());
  EXPECT_TRUE(second.compressedSize == 1 && second.uncompressedSize == 2 && second.zip64Sizes);
  // Past 65,535 entries: zip64 records, the 16-bit count wrapped as older writers do, or at
  // exactly 65,535 the classic record's marker count without zip64 records.
  std::string classic = BuildArchive(65535, 65535);
  classic.erase(classic.size() - kEndSize - kZip64EndSize - kZip64LocatorSize,
                kZip64EndSize + kZip64LocatorSize);
  for (const auto& [bytes, count] : {std::pair{BuildArchive(65537, 65537), 65537u},
                                     {BuildArchive(65537, 1), 65537u},
                                     {classic, 65535u}}) {
    WriteFile(zip_, bytes);
    read = ReadZip(zip_);
    EXPECT_TRUE(read.ok && read.contents.entries.size() == count) << read.error;
    EXPECT_EQ(read.contents.entries.back().name, std::to_string(count - 1));
  }

  size_t end = good.size() - kEndSize - 4, last = good.rfind(std::string("PK\1\2", 4), end);
  std::string zip64 = BuildArchive(3, 65535);  // zip64 end records: the count does not fit
  const std::pair<std::string, const char*> cases[] = {
      {std::string(100, 'x'), "no end of central directory"},
      {With(good, 0, 0, 1), "local header of \"0\" is damaged"},
      {With(With(good, end + 8, 4, 2), end + 10, 4, 2), "does not hold"},
      {With(good, end + 16, 0x7FFFFFF0, 4), "outside the file"},
      {With(good, end + 4, 1, 2), "several parts"},
      {With(good, last + 28, 500, 2), "runs past"},
      {With(good, last + 42, 0x7FFFFFF0, 4), "outside"},
      {With(good, end + 16, 0xFFFFFFFF, 4), "outside the file"},  // no zip64 records to look in
      {With(good, last + 24, 0xFFFFFFFF, 4), "zip64 field of \"2\" is missing"},
      {With(zip64, zip64.size() - kEndSize - kZip64LocatorSize - kZip64EndSize, 0, 1),
       "zip64 end record is damaged"}};
  for (const auto& [bytes, why] : cases) {
    WriteFile(zip_, bytes);
    ExpectLeft(Run(), bytes, why);
  }
  for (size_t length = 0; length < good.size(); ++length) {
    WriteFile(zip_, good.substr(0, length));
    EXPECT_EQ(Run(), kExitFailed) << "cut to " << length << " bytes";
  }
  fs::remove(zip_);
  fs::create_directory(zip_);
  EXPECT_TRUE(Run() == kExitFailed &&
              err_ == "wzzip: " + zip_.string() + " is a folder, not an archive\n");
}

TEST_F(RunTest, FailedWritesLeaveTheOldArchive) {
  // A size limit fails the last write of a buffered archive, then the copy of a large entry while
  // the pieces of the files to add wait in the queue; a missing folder fails the first write.
  signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  auto limited = [&](rlim_t limit) {
    rlimit low{limit, saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &low);
    int code = Run();
    setrlimit(RLIMIT_FSIZE, &saved);
    return code;
  };
  ASSERT_EQ(Run(), kExitOk);
  std::string good = ReadBytes(zip_);
  WriteFile(src_ / "noise.bin", Noise(1 << 20));
  ExpectLeft(limited(64 << 10), good, "File too large");
  WriteFile(src_ / "noise.bin", Noise(6 << 20));
  ASSERT_EQ(Run(), kExitOk);
  good = ReadBytes(zip_);
  for (int i = 0; i < 40; ++i) WriteFile(src_ / ("tiny" + std::to_string(i)), "t");
  ExpectLeft(limited(1 << 20), good, "wzzip: cannot write " + zip_.string() + ".");
  zip_ = top_ / "no folder" / "a.zip";
  EXPECT_TRUE(Run() == kExitFailed && err_.starts_with("wzzip: cannot create a temporary file"));
  src_ = top_ / "no source";
  EXPECT_TRUE(Run() == kExitFailed && err_.ends_with(src_.string() + "/ does not exist\n"));
}

TEST_F(RunTest, WhatCannotBeReadIsNamedAndCostsNoOlderCopy) {
  WriteFile(src_ / "notes.txt", "old notes");
  ASSERT_EQ(Run(), kExitOk);
  WriteFile(src_ / "notes.txt", "new notes", 1262304060);
  WriteFile(src_ / "locked.txt", "secret");
  fs::permissions(src_ / "notes.txt", fs::perms::none);
  fs::permissions(src_ / "locked.txt", fs::perms::none);
  ASSERT_EQ(::mkfifo((src_ / "pipe").c_str(), 0600), 0);
  fs::create_symlink(src_ / "vanished", src_ / "dangling");
  fs::create_directory_symlink(src_, src_ / "loop");  // a link back up is not followed
  EXPECT_EQ(geteuid() == 0 ? seteuid(65534) : 0, 0);  // root would read them: run as nobody
  int code = Run();
  EXPECT_EQ(seteuid(getuid()), 0);
  EXPECT_EQ(code, kExitSkipped);
  std::string skipped = "wzzip: skipped " + src_.string() + "/";
  EXPECT_EQ(err_, skipped + "dangling: No such file or directory\n" + skipped +
                      "pipe: not a regular file\n" + skipped + "notes.txt: Permission denied\n" +
                      skipped + "locked.txt: Permission denied\n");
  EXPECT_NE(out_.find(": 0 added, 0 replaced, 2 kept\n"), std::string::npos) << out_;
  std::string bytes = ReadBytes(zip_);
  EXPECT_EQ(Content(bytes, ReadZip(zip_).contents.entries.back()), "old notes");
}

TEST_F(RunTest, NamesWithoutPathsMustDiffer) {
  WriteFile(src_ / "sub" / "a.txt", "b");
  fs::create_directory(src_ / "empty");
  ASSERT_EQ(Run(), kExitOk);
  EXPECT_NE(out_.find(": 3 added, 0 replaced, 0 kept\n"), std::string::npos) << out_;
  fs::remove(zip_);
  EXPECT_EQ(Run(false), kExitSkipped);
  EXPECT_EQ(err_, "wzzip: skipped " + (src_ / "sub" / "a.txt").string() +
                      ": a file named \"a.txt\" is already in this run\n");
  EXPECT_EQ(ReadZip(zip_).contents.entries.size(), 1u);
}

TEST_F(RunTest, CompressorWaitsForRoomWhenTheWriterLags) {
  // More pieces than the compressor holds at once, and a writer that starts late: the workers must
  // wait for it instead of overwriting pieces not yet taken, and go on once it takes them.
  std::vector<FileJob> jobs;
  for (int i = 0; i < 1500; ++i) {
    jobs.push_back({src_ / ("f" + std::to_string(i)), std::to_string(i).size()});
    WriteFile(jobs.back().path, std::to_string(i));
  }
  Compressor compressor(jobs, 6, 2);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  Chunk chunk;
  size_t taken = 0;
  for (; compressor.Next(&chunk); ++taken) {
    ASSERT_TRUE(chunk.file == taken && chunk.stored && chunk.data == std::to_string(taken))
        << taken;
  }
  EXPECT_EQ(taken, jobs.size());
}

TEST(ToDosDateTime, ClampsToTheYearsMsDosCanHold) {
  const int cases[][4] = {// year, month, MS-DOS date and time (day and time of day left at 0)
                          {1979, 12, 1 << 5 | 1, 0},
                          {1980, 6, 6 << 5, 0},
                          {2107, 6, 127 << 9 | 6 << 5, 0},
                          {2108, 1, 127 << 9 | 12 << 5 | 31, 23 << 11 | 59 << 5 | 29}};
  for (const auto& c : cases) {
    std::tm local{};
    local.tm_year = c[0] - 1900;
    local.tm_mon = c[1] - 1;
    DosDateTime dos = ToDosDateTime(local);
    EXPECT_TRUE(dos.date == c[2] && dos.time == c[3]) << c[0];
  }
}

TEST_F(RunTest, RemovesOnlyTheLeftoversOfKilledRuns) {
  fs::path out = zip_.parent_path();
  for (const char* name : {"backup.zip.tmp", "backup.zip.1-2.tmp", "backup.zip.1-2-3.tmp.x",
                           "backup.zip.1-2-x.tmp", "xbackup.zip.1-2-3.tmp", "other.zip.1-2-3.tmp",
                           "backup.zip1-2-3.tmp", "backup.zip.12345678901-2-3.tmp"}) {
    WriteFile(out / name, "not ours");
  }
  WriteFile(out / "backup.zip.123-45-6.tmp", "left by a killed run");
  fs::create_directory(out / "backup.zip.1-1-1.tmp");
  fs::create_symlink(src_ / "a.txt", out / "backup.zip.1-1-2.tmp");
  std::string why;
  std::unique_ptr<OutputFile> running = OutputFile::CreateBeside(zip_, &why);  // a run going on
  EXPECT_EQ(Run(), kExitOk);
  EXPECT_TRUE(out_.starts_with("wzzip: removed " + (out / "backup.zip.123-45-6.tmp").string() +
                               ", left by a run that did not finish\n"));
  EXPECT_FALSE(fs::exists(out / "backup.zip.123-45-6.tmp"));
  EXPECT_EQ(std::distance(fs::directory_iterator(out), {}), 12) << "all but the leftover stay";
  EXPECT_TRUE(fs::exists(running->Path()));
}

}  // namespace
}  // namespace tessel::archiver
