// Whether a dialog that has not been painted yet is to be given up, so that a plain message box
// can take its place. A window that cannot be shown never paints; a healthy one may paint late
// on a busy machine, so a first look without a paint only leads to a forced paint and more
// waiting, up to a grace time.
#pragma once
#include <cstdint>

class TPaintWatch {
  public:
    enum class TVerdict { Painted, Wait, GiveUp };

    explicit TPaintWatch(uint64_t graceMs) : graceMs_(graceMs) {}

    void Start(uint64_t nowMs) { startMs_ = nowMs; }
    void NotePainted() { painted_ = true; }
    bool Painted() const { return painted_; }
    TVerdict Check(uint64_t nowMs) const;

  private:
    uint64_t graceMs_;
    uint64_t startMs_ = 0;
    bool painted_ = false;
};
