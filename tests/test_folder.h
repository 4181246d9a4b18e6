// Scratch folders and the current directory for tests that lay out files, in every test program
// of the engine, the tools and the table layer: nothing here but Windows.
#pragma once
#include <string>

// A new folder under the temporary folder, removed with its files when the object goes.
class TestFolder {
  public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};

// Makes a folder the current directory for its lifetime.
class CurrentDirectory {
  public:
    explicit CurrentDirectory(const std::string& folder);
    ~CurrentDirectory();
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;

  private:
    std::string saved_;
};
