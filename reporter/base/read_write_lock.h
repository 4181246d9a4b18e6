// A multi-reader single-writer lock on the system's slim reader/writer lock, usable with
// std::shared_lock and std::unique_lock. Over the runtime's shared mutex, a reader of the
// tracked threads once saw a list being grown (a failed allocation of a garbage size) under
// heavy load; the system's lock is the one the system's own code relies on.
#pragma once
#include <windows.h>

class TReadWriteLock {
  public:
    TReadWriteLock() = default;
    TReadWriteLock(const TReadWriteLock&) = delete;
    TReadWriteLock& operator=(const TReadWriteLock&) = delete;

    void lock() { AcquireSRWLockExclusive(&lock_); }
    void unlock() { ReleaseSRWLockExclusive(&lock_); }
    void lock_shared() { AcquireSRWLockShared(&lock_); }
    void unlock_shared() { ReleaseSRWLockShared(&lock_); }

  private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};
