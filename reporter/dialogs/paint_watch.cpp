#include "reporter/dialogs/paint_watch.h"

TPaintWatch::TVerdict TPaintWatch::Check(uint64_t nowMs) const {
    if (painted_)
        return TVerdict::Painted;
    return nowMs - startMs_ < graceMs_ ? TVerdict::Wait : TVerdict::GiveUp;
}
