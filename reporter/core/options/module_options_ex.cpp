#include "reporter/core/options/module_options_ex.h"
#include "reporter/core/interception/freeze_watch.h"
#include "reporter/core/options/shared_options.h"

void TVessarModuleOptionsEx::SetEnabled(bool value) {
    bool changed = value != Enabled();
    TVessarModuleOptions::SetEnabled(value);
    FollowFreezeSetting(changed);
}

void TVessarModuleOptionsEx::SetFreezeCheck(bool value) {
    bool changed = value != FreezeCheck();
    TVessarModuleOptions::SetFreezeCheck(value);
    FollowFreezeSetting(changed);
}

void TVessarModuleOptionsEx::FollowFreezeSetting(bool changed) {
    if (changed && BelongsToReporterModule())
        SwitchFreezeWatch(Enabled() && FreezeCheck());
}

void TVessarModuleOptionsEx::Changed() {
    if (ModuleHandle() == nullptr)
        return;
    ByteWriter block;
    SaveToStream(block);
    PublishSharedOptions(ModuleHandle(), block.Data());
}

void TVessarModuleOptionsEx::Reload() {
    if (ModuleHandle() == nullptr)
        return;
    std::vector<uint8_t> block = ReadSharedOptions(ModuleHandle());
    if (block.empty() || (block == reloadedBlock_ && Revision() == reloadedRevision_))
        return;
    ByteReader reader(block);
    try {
        LoadFromStream(reader);
    } catch (const std::exception&) {
        // A damaged copy: loading fails before it changes anything, so the current values stay.
        return;
    }
    reloadedBlock_ = std::move(block);
    reloadedRevision_ = Revision();
}
