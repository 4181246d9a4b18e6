// Crafted memory for stack scans: call instructions in executable memory that belongs to no
// module, stack images whose pages can be protected, and a lookup that names chosen addresses.
#pragma once
#include "reporter/diagnostics/stack/stack_scan.h"
#include <initializer_list>
#include <map>
#include <vector>

// Pages from the system, released on destruction.
class TPages {
  public:
    TPages(size_t bytes, DWORD protection);
    ~TPages();
    TPages(const TPages&) = delete;
    TPages& operator=(const TPages&) = delete;
    uintptr_t At(size_t offset) const { return reinterpret_cast<uintptr_t>(base_) + offset; }
    size_t Size() const { return size_; }
    void Protect(size_t firstPage, size_t pages, DWORD protection);

  private:
    void* base_;
    size_t size_;
};

// Executable memory to hold code: every write ends at an offset, where a call returns to.
class TCode : public TPages {
  public:
    TCode() : TPages(0x10000, PAGE_EXECUTE_READWRITE) {}
    // Writes `bytes` to end just before `end` (after no-operation padding) and returns the
    // address of `end`.
    uintptr_t Before(size_t end, std::vector<uint8_t> bytes);
    // The bytes of a direct call ending at `end` that calls `target`.
    std::vector<uint8_t> CallTo(size_t end, uintptr_t target) const;
};

// The little-endian bytes of a word, appended to `bytes`.
std::vector<uint8_t> WithWord(std::vector<uint8_t> bytes, uint32_t word);

// A stack of words from the system's pages; the scan covers all of it.
class TStackImage : public TPages {
  public:
    explicit TStackImage(size_t bytes) : TPages(bytes, PAGE_READWRITE) {}
    void Set(size_t wordIndex, uintptr_t word);
    void Fill(std::initializer_list<uintptr_t> words);
    const void* Start() const { return reinterpret_cast<const void*>(At(0)); }
    const void* Top() const { return reinterpret_cast<const void*>(At(Size() - 1)); }
};

// Names for chosen addresses; every other address is looked up as Detail 0.
class TFakeLookup {
  public:
    void Name(uintptr_t address, uint8_t detail, const char* procedure, int procLine,
              uintptr_t module = 1);
    bool Locate(const void* address, TVessarDebugInfo& info) const;
    // Scan parameters that look addresses up here.
    TStackScanParams Params() const;

  private:
    std::map<uintptr_t, TVessarDebugInfo> names_;
    std::vector<std::shared_ptr<TVessarModuleInfo>> modules_;
};

// The addresses of the entries, in order.
std::vector<uintptr_t> Addresses(const TVessarStackList& list);
// The entries as "address:Detail", for readable failures.
std::vector<std::string> AddressesAndDetails(const TVessarStackList& list);
