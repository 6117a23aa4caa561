#include "jobs/archiver_command.h"

#include "core/app_title.h"

namespace tessel {

std::wstring ArchiverProgramPath(std::wstring_view drive) {
  std::wstring path(drive);
  path += L":\\Program Files\\WinZip\\wzzip.exe";
  return path;
}

std::wstring ArchiverCommand::CommandLine() const {
  std::wstring line = L"\"";
  line.append(program).append(L"\" -u -p -r \"");
  line.append(archive).append(L"\" \"");
  line.append(source).append(L"\"");
  return line;
}

Status RunArchiverAndWait(Platform& platform, const ArchiverCommand& command,
                          const std::function<void(bool running)>& running) {
  Status started;
  {
    running(true);
    struct Ended {
      const std::function<void(bool)>& running;
      ~Ended() { running(false); }
    } ended{running};
    started = platform.sys.RunAndWait(command.CommandLine());
  }
  if (!started) {
    std::wstring text = L"The archiver could not be started:\r\n";
    text += command.program;
    text += L"\r\n\r\n";
    text += started.reason;
    platform.dialogs.ShowMessage(text, kAppTitle, Buttons::Ok);
  }
  return started;
}

std::wstring QuoteRefusalMessage(std::wstring_view fieldName) {
  std::wstring text = L"The field \"";
  text += fieldName;
  text += L"\" contains a double quote (\"), which is not allowed in file or folder names.";
  text += L"\r\n\r\nPlease remove it and try again.";
  return text;
}

bool RefuseQuotes(Platform& platform, const std::vector<CommandField>& fields) {
  for (const CommandField& field : fields) {
    if (field.text.find(L'"') != std::wstring_view::npos) {
      platform.dialogs.ShowMessage(QuoteRefusalMessage(field.name), kAppTitle, Buttons::Ok);
      return false;
    }
  }
  return true;
}

}  // namespace tessel
