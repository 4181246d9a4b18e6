#include "tables/bde.h"
#include "tables/engine_loader.h"
#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>

namespace bde {

namespace {

#define BDE_ORDINAL_VALUE(name, ordinal) ordinal,
constexpr int kHighestOrdinal = std::max({IDAPI_ORDINAL_ENTRIES(BDE_ORDINAL_VALUE)});
#undef BDE_ORDINAL_VALUE

void* Export(HMODULE module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(module, name));
}

// One loaded library, shared by every caller in the process and guarded by one lock.
class EngineLibrary {
  public:
    std::mutex& Lock() { return lock_; }

    // Under the lock.
    DBIResult Load() {
        if (module_)
            return DBIERR_NONE;
        TEngineLoad load = LoadEngineLibrary();
        module_ = load.Module;
        return load.Status;
    }

    // Under the lock. The library stays loaded after a failed start, so that the texts of that
    // failure can still be read; it goes at the last DbiExit.
    void* InitEntry() {
        void* entry = Export(module_, "DbiInitFn");
        if (!entry)
            Free();
        return entry;
    }

    void* Bind(int ordinal) {
        void* entry = entries_[ordinal].load(std::memory_order_acquire);
        if (entry)
            return entry;
        std::lock_guard<std::mutex> hold(lock_);
        if (!module_)
            return nullptr;
        RunLibraryInit();
        entry = Export(module_, MAKEINTRESOURCEA(ordinal));
        entries_[ordinal].store(entry, std::memory_order_release);
        return entry;
    }

    void Started() {
        std::lock_guard<std::mutex> hold(lock_);
        ++starts_;
    }

    void Exited() {
        std::lock_guard<std::mutex> hold(lock_);
        if (starts_ > 0)
            --starts_;
        if (starts_ == 0)
            Free();
    }

  private:
    void RunLibraryInit() {
        if (libraryInitDone_)
            return;
        libraryInitDone_ = true;
        if (auto* init = reinterpret_cast<DBIResult(DBIFN*)()>(Export(module_, "DLLINITFUNCTION")))
            init();
    }

    void Free() {
        for (auto& entry : entries_)
            entry.store(nullptr, std::memory_order_release);
        if (module_)
            FreeLibrary(module_);
        module_ = nullptr;
        libraryInitDone_ = false;
        starts_ = 0;
    }

    std::mutex lock_;
    HMODULE module_ = nullptr;
    bool libraryInitDone_ = false;
    int starts_ = 0;
    std::array<std::atomic<void*>, kHighestOrdinal + 1> entries_{};
};

EngineLibrary& Library() {
    static EngineLibrary library;
    return library;
}

bool Ready(DBIResult status) {
    status = DbiStatus16(status);
    return status == DBIERR_NONE || status == DBIERR_MULTIPLEINIT;
}

} // namespace

namespace detail {

void* EntryAddress(int ordinal) {
    return Library().Bind(ordinal);
}

DBIResult OrdinalEntry<ordinal_DbiExit, decltype(::DbiExit)>::Call() {
    auto* entry = reinterpret_cast<decltype(&::DbiExit)>(EntryAddress(ordinal_DbiExit));
    DBIResult status = entry ? entry() : DBIResult(DBIERR_CANNOTLOADLIB);
    Library().Exited();
    return status;
}

} // namespace detail

DBIResult DbiInitFn(uint16_t iVer, DBIEnv* pEnv) {
    EngineLibrary& library = Library();
    decltype(&::DbiInitFn) init = nullptr;
    {
        std::lock_guard<std::mutex> hold(library.Lock());
        if (DBIResult status = library.Load())
            return status;
        init = reinterpret_cast<decltype(&::DbiInitFn)>(library.InitEntry());
    }
    if (!init)
        return DBIERR_ENTRYNOTFOUND;
    DBIResult status = init(iVer, pEnv);
    if (Ready(status))
        library.Started();
    return status;
}

} // namespace bde
