// The machine state a GUI run starts from, and what the recording archiver was asked to do.
#pragma once

#include <string>

namespace tessel::gui {

std::wstring DriverFolder();  // the running driver's folder, ending in "\"

// An empty winzip32.exe and the driver as the recording archiver wzzip.exe, no calls recorded yet.
// Each run then takes `holdMs` milliseconds after recording its call, as a long backup does.
bool InstallArchiver(int holdMs = 0);
std::string ArchiverCalls();  // the command lines received, each ending in a line feed

// The stored default destination as the program writes it: one line, CR LF.
bool StoreDestination(const std::string& path);

bool MakeFile(const std::wstring& path);  // with every missing folder level
bool RemoveTree(const std::wstring& path);
bool Exists(const std::wstring& path);

}  // namespace tessel::gui
