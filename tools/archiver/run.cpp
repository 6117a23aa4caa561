// The steps of a run, and the rule that the old archive stays as it is unless all of them succeed.
#include "run.h"

#include <thread>

#include "archive_reader.h"
#include "archive_writer.h"
#include "file_io.h"
#include "source_scan.h"
#include "update_plan.h"

namespace tessel::archiver {

namespace {

int Failed(std::ostream& err, const std::string& why) {
  err << "wzzip: " << why << "\n";
  return kExitFailed;
}

}  // namespace

int RunArchiver(const Request& request, const RunOptions& options, std::ostream& out,
                std::ostream& err) {
  fs::path archivePath = PathFromUtf8(request.archive);
  fs::path folder = PathFromUtf8(request.folder);
  std::error_code ec;
  for (const fs::path& leftover : RemoveLeftovers(archivePath)) {
    out << "wzzip: removed " << PathToUtf8(leftover) << ", left by a run that did not finish\n";
  }

  // The old archive first: a file there that cannot be read as a zip archive stops the run.
  std::unique_ptr<InputFile> old;
  ArchiveContents contents;
  if (fs::exists(archivePath, ec)) {
    if (fs::is_directory(archivePath, ec)) {
      return Failed(err, request.archive + " is a folder, not an archive");
    }
    std::string why;
    old = InputFile::Open(archivePath, &why);
    if (!old) return Failed(err, "cannot open " + request.archive + ": " + why);
    ReadResult read = ReadArchive(*old);
    if (!read.ok) {
      return Failed(err, request.archive + " is not a zip archive that can be updated (" +
                             read.error + "); it was left as it is");
    }
    contents = std::move(read.contents);
  }

  if (!fs::is_directory(folder, ec)) {
    return Failed(err, "the source folder " + request.folder + " does not exist");
  }
  ScanOptions scanOptions{request.recurse, request.keepPaths, old ? archivePath : fs::path()};
  ScanResult scan = ScanSource(folder, scanOptions);
  bool skipped = !scan.problems.empty();
  for (const std::string& problem : scan.problems) err << "wzzip: " << problem << "\n";

  Plan plan = PlanUpdate(contents.entries, scan.items, request.update);
  if (!plan.Changes()) {
    if (old) {
      out << "wzzip: " << request.archive << " is up to date (" << plan.kept << " entries)\n";
    } else {
      out << "wzzip: nothing to archive in " << request.folder << "\n";
    }
    return skipped ? kExitSkipped : kExitOk;
  }

  std::string why;
  std::unique_ptr<OutputFile> output = OutputFile::CreateBeside(archivePath, &why);
  if (!output) return Failed(err, why);

  std::vector<FileJob> jobs;
  for (const PlanStep& step : plan.steps) {
    if (step.step == Step::Keep) continue;
    const SourceItem& item = scan.items[step.source];
    if (!item.folder) jobs.push_back({item.path, item.size});
  }
  unsigned threads = options.threads ? options.threads : std::thread::hardware_concurrency();
  Compressor compressor(std::move(jobs), options.level, threads);
  ArchiveWriter writer(*output);
  size_t added = 0, replaced = 0, kept = 0;
  for (size_t i = 0; i < plan.steps.size(); ++i) {
    const PlanStep& step = plan.steps[i];
    bool ok = true;
    if (step.step == Step::Keep) {
      // Entries kept one after the other are copied in one go.
      size_t count = 1;
      while (i + count < plan.steps.size() && plan.steps[i + count].step == Step::Keep &&
             plan.steps[i + count].entry == step.entry + count) {
        ++count;
      }
      ok = writer.CopyEntries(*old, std::span(contents.entries).subspan(step.entry, count));
      kept += count;
      i += count - 1;
    } else if (scan.items[step.source].folder) {
      writer.AddFolder(scan.items[step.source]);
      ++added;
    } else {
      Chunk first;
      if (!compressor.Next(&first)) return Failed(err, "internal error: files missing");
      bool written = false;
      std::string problem;
      ok =
          writer.AddFile(scan.items[step.source], std::move(first), compressor, &written, &problem);
      if (ok && !written) {
        skipped = true;
        err << "wzzip: skipped " << PathToUtf8(scan.items[step.source].path) << ": " << problem
            << "\n";
        // A file that cannot be read now does not cost the archive its older copy.
        if (step.step == Step::Replace) {
          ok = writer.CopyEntries(*old, std::span(contents.entries).subspan(step.entry, 1));
          ++kept;
        }
      } else if (written) {
        ++(step.step == Step::Replace ? replaced : added);
      }
    }
    if (!ok) return Failed(err, writer.Error() + "; " + request.archive + " was left as it is");
  }
  // Windows refuses to replace a file that is still open: the old archive is closed first.
  old.reset();
  if (!writer.Finish(contents.comment) || !output->Commit()) {
    return Failed(err, writer.Error() + "; " + request.archive + " was left as it is");
  }
  out << "wzzip: " << request.archive << ": " << added << " added, " << replaced << " replaced, "
      << kept << " kept\n";
  return skipped ? kExitSkipped : kExitOk;
}

}  // namespace tessel::archiver
