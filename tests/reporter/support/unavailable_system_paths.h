// The system's cross-process paths made to fail for the test's duration, as they fail on systems
// that do not offer them (an emulated 32-bit Wine among them): reading memory through the
// process-status and debugging calls, module snapshots, module enumeration and module file
// names of a process handle. Process and thread snapshots keep working, as they do there.
#pragma once

class TUnavailableSystemPaths {
  public:
    TUnavailableSystemPaths();
    ~TUnavailableSystemPaths();
    TUnavailableSystemPaths(const TUnavailableSystemPaths&) = delete;
    TUnavailableSystemPaths& operator=(const TUnavailableSystemPaths&) = delete;
};
