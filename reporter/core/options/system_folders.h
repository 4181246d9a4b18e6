// Folders the crash reporter keeps its files in, as the system names them.
#pragma once
#include <string>

// The user's application-data folder as the shell reports it, else the "AppData" environment
// variable, else "\"; without a closing "\".
std::string ApplicationDataFolder();

// Where the crash reporter keeps its own files: the application-data folder plus "\Vessarion";
// on the Windows 9x family the Windows directory. Without a closing "\".
std::string ReporterFolder();

// Where a file of this executable goes when it cannot be written where asked: a subfolder of
// the crash reporter's own folder named after the executable's file name without extension.
std::string ExecutableFilesFolder();

// The system temporary folder, with a closing "\".
std::string TemporaryFolder();
