// The options class the crash reporter uses: it shares its options with the other modules of
// the process and switches freeze detection.
#pragma once
#include "reporter/core/options/module_options.h"
#include <cstdint>
#include <vector>

class TVessarModuleOptionsEx : public TVessarModuleOptions {
  public:
    using TVessarModuleOptions::TVessarModuleOptions;

    // On the crash reporter's own options, a new value starts freeze detection when Enabled
    // and FreezeCheck are then both true and stops it otherwise.
    void SetEnabled(bool value) override;
    void SetFreezeCheck(bool value) override;
    // Publishes these options into the shared copy of their module.
    void Changed() override;
    // Takes the options from the shared copy of their module; keeps the current values when
    // there is none or it cannot be read.
    void Reload() override;

  private:
    // Only the crash reporter's own options drive freeze detection.
    void FollowFreezeSetting(bool changed);

    // The block loaded last, and the revision it left: loading it again onto the same revision
    // would change nothing.
    std::vector<uint8_t> reloadedBlock_;
    uint32_t reloadedRevision_ = 0;
};
